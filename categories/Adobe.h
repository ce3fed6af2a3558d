#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Adobe" category.
class TadobeForm : public TCategoryForm {
 public:
  TadobeForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
