#pragma once
#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Mozilla Firefox" category.
class TmozzForm : public TCategoryForm {
 public:
  TmozzForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

}  // namespace zarn
