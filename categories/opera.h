#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Opera" category.
class TOperaForm : public TCategoryForm {
 public:
  TOperaForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
