#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Mozilla Firefox" category.
class TmozzForm : public TCategoryForm {
 public:
  TmozzForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
