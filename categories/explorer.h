#pragma once
#include <span>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Windows Explorer" category.
class TDetailsForm : public TCategoryForm {
 public:
  TDetailsForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// The category's reach, for the benchmark's reference scans.
std::span<const FileLocation> ExplorerRecent();
std::span<const RegistryRow> ExplorerRunMru();
std::span<const RegistryRow> ExplorerShellLists();
const char* ExplorerAcMru();
std::span<const FileLocation> ExplorerJumpLists();
std::span<const RegistryRow> ExplorerTodaysLists();

}  // namespace zarn
