#pragma once
#include "traces/category_form.h"

namespace zarn {

// The "Media Player" category.
class TmediaplayForm : public TCategoryForm {
 public:
  TmediaplayForm();

 protected:
  void Probe() override;
};

}  // namespace zarn
