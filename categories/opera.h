#pragma once
#include <span>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Opera" category.
class TOperaForm : public TCategoryForm {
 public:
  TOperaForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// The category's reach, for the benchmark's reference scans.
std::span<const FileLocation> OperaFiles();
// The profile folders of the Chromium-based versions, below the roaming and local folders.
std::span<const char* const> OperaTodaysProfileFolders();

}  // namespace zarn
