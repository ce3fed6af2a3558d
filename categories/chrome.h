#pragma once
#include "categories/chromium_profile.h"
#include "traces/category_form.h"

namespace zarn {

// The "Google Chrome" category.
class TChromeForm : public TCategoryForm {
 public:
  TChromeForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
