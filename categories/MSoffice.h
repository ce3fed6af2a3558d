#pragma once
#include <span>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Microsoft Office" category.
class TMsofficeForm : public TCategoryForm {
 public:
  TMsofficeForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// The category's reach, for tests that check every table.
std::span<const FileLocation> MsofficeFiles();
std::span<const RegistryRow> MsofficeRows();
std::span<const RegistryRow> MsofficeTodaysRows();

}  // namespace zarn
