#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Open Office" category.
class TOpenofficeForm : public TCategoryForm {
 public:
  TOpenofficeForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
