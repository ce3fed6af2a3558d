#include "categories/Openoffice.h"

#include <charconv>

#include "res/resource.h"
#include "traces/probes.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Open Office",
    .className = "TOpenofficeForm",
    .title = "Zarn Cleaner - Open Office",
    .scanButtonName = "openoffBtn",
    .iconId = IDI_CAT_OPENOFFICE,
};
const CleanRules kClean = {.keys = KeyDeletion::BothRootsAfter};

// The suite's configuration file, which holds its recent-documents list.
const FileLocation kFiles[] = {
    {BaseFolder::AppData, "\\OpenOffice.org2\\user\\registry\\data\\org\\openoffice\\Office\\", "Common.xcu", 2,
     Listing::Paths, Dots::Keep},
};

long long SizeOf(const std::string& path, const FileFacts* facts) {
  if (facts) return static_cast<long long>(facts->size);
  const std::string text = FileSizeText(path);
  long long bytes = -1;
  std::from_chars(text.data(), text.data() + text.size(), bytes);
  return bytes;
}

}  // namespace

std::string FormatSizeLocal(long long bytes, std::string_view separator) {
  return FormatSize(bytes, separator, " Byte(s)");
}

std::string UserDecimalSeparator() {
  char separator[16] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1) return ".";
  return separator;
}

std::string FormatSizeLocal(long long bytes) { return FormatSizeLocal(bytes, UserDecimalSeparator()); }

std::span<const FileLocation> OpenofficeFiles() { return kFiles; }

TOpenofficeForm::TOpenofficeForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TOpenofficeForm::Tables() { return {.files = {{kFiles}}}; }

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
