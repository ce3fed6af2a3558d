#pragma once
#include <span>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Windows Applets" category.
class TwinappletForm : public TCategoryForm {
 public:
  TwinappletForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// The category's reach, for tests that check every table.
std::span<const RegistryRow> WinappletRows();

}  // namespace zarn
