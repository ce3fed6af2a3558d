#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Windows Explorer" category.
class TDetailsForm : public TCategoryForm {
 public:
  TDetailsForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
