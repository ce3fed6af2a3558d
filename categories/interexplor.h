#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Internet Explorer" category.
class TInterForm : public TCategoryForm {
 public:
  TInterForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
