#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Safari" category.
class TSafariForm : public TCategoryForm {
 public:
  TSafariForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
