#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Windows Applets" category.
class TwinappletForm : public TCategoryForm {
 public:
  TwinappletForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
