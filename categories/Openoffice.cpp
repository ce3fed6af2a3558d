#include "categories/Openoffice.h"

#include <charconv>
#include <cstdio>

#include "res/resource.h"
#include "traces/probes.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Open Office", "TOpenofficeForm", "Zarn Cleaner - Open Office", "LV", "openoffBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_OPENOFFICE};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

// The suite's configuration file, which holds its recent-documents list.
const FileLocation kFiles[] = {
    {BaseFolder::AppData, "\\OpenOffice.org2\\user\\registry\\data\\org\\openoffice\\Office\\", "Common.xcu", 2,
     Listing::Paths, Dots::Keep},
};

std::string TwoDecimals(long long bytes, long long unit, std::string_view separator, const char* suffix) {
  char text[64];
  int n = std::snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / static_cast<double>(unit));
  if (n < 3 || n >= static_cast<int>(sizeof text)) return {};
  // Whatever decimal point the C runtime's own locale uses, the integer digits lead and
  // the two decimals close the text.
  std::string_view printed(text, static_cast<size_t>(n));
  size_t digits = printed.find_first_not_of("-0123456789");
  std::string result(printed.substr(0, digits));
  result.append(separator).append(printed.substr(printed.size() - 2)).append(suffix);
  return result;
}

long long SizeOf(const std::string& path, const FileFacts* facts) {
  if (facts) return static_cast<long long>(facts->size);
  const std::string text = FileSizeText(path);
  long long bytes = -1;
  std::from_chars(text.data(), text.data() + text.size(), bytes);
  return bytes;
}

}  // namespace

std::string FormatSizeLocal(long long b, std::string_view separator) {
  constexpr long long kGB = 1073741824, kMB = 1048576, kKB = 1024;
  if (b / kGB > 0) return TwoDecimals(b, kGB, separator, " GB");
  if (b / kMB > 0) return TwoDecimals(b, kMB, separator, " MB");
  if (b / kKB > 0) return TwoDecimals(b, kKB, separator, " KB");
  return std::to_string(b) + " Byte(s)";
}

std::string UserDecimalSeparator() {
  char separator[16] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1) return ".";
  return separator;
}

std::string FormatSizeLocal(long long bytes) { return FormatSizeLocal(bytes, UserDecimalSeparator()); }

std::span<const FileLocation> OpenofficeFiles() { return kFiles; }

TOpenofficeForm::TOpenofficeForm() : TCategoryForm(kTraits, kClean) {}

void TOpenofficeForm::Probe() {
  FolderSnapshot folders;
  StageFiles(*this, kFiles, ListBox[1], folders);
  const std::string separator = UserDecimalSeparator();
  for (size_t i = 0; i < ListBox[1].Count(); ++i) {
    const std::string path(ListBox[1].Text(i));
    AddFileTrace(path, "Open Office Recentlist", FormatSizeLocal(SizeOf(path, ListBox[1].Facts(i)), separator));
  }
}

}  // namespace zarn
