#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Macromedia" category.
class TmacromediaForm : public TCategoryForm {
 public:
  TmacromediaForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
