#pragma once
#include "categories/chromium_profile.h"
#include "traces/category_form.h"

namespace zarn {

// The "Microsoft Edge" category.
class TEdgeForm : public TCategoryForm {
 public:
  TEdgeForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
