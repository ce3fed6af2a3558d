#pragma once
#include <span>
#include <string>
#include <string_view>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Open Office" category.
class TOpenofficeForm : public TCategoryForm {
 public:
  TOpenofficeForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

// This category's size text: like FormatSize, but the two decimals use the given
// separator and small sizes read "N Byte(s)" ("-1 Byte(s)" for a missing file).
std::string FormatSizeLocal(long long bytes, std::string_view decimalSeparator);
// The same with the decimal separator of the user's locale settings.
std::string FormatSizeLocal(long long bytes);
// The user's decimal separator (LOCALE_SDECIMAL), or a point when it cannot be read.
std::string UserDecimalSeparator();

// The category's reach, for tests that check every table.
std::span<const FileLocation> OpenofficeFiles();

}  // namespace zarn
