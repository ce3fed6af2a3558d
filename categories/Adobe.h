#pragma once
#include <span>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Adobe" category.
class TadobeForm : public TCategoryForm {
 public:
  TadobeForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// The category's reach, for tests that check every table.
std::span<const FileLocation> AdobeFiles();
std::span<const RegistryRow> AdobeRows();
std::span<const RegistryRow> AdobeTodaysRows();

}  // namespace zarn
