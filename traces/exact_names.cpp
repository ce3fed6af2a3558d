#include "traces/exact_names.h"

#include <windows.h>

#include <string>

namespace zarn {

bool AnsiIsUtf8() {
  static const bool utf8 = GetACP() == CP_UTF8;
  return utf8;
}

bool MayBeLossy(std::string_view name) {
  if (name.find('?') != std::string_view::npos) return true;
  return AnsiIsUtf8() && name.find("\xEF\xBF\xBD") != std::string_view::npos;
}

bool SameAsWide(std::string_view name, std::wstring_view wide) {
  if (wide.empty()) return name.empty();
  const bool utf8 = AnsiIsUtf8();
  // UTF-8 takes no default character; an unpaired surrogate fails the conversion instead.
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* defaulted = utf8 ? nullptr : &usedDefault;
  const int length = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, defaulted);
  if (n <= 0 || static_cast<size_t>(n) != name.size()) return false;
  std::string text(static_cast<size_t>(n), '\0');
  n = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, text.data(), n, nullptr, defaulted);
  return n > 0 && !usedDefault && text == name;
}

}  // namespace zarn
