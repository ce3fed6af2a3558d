#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Microsoft Office" category.
class TMsofficeForm : public TCategoryForm {
 public:
  TMsofficeForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
