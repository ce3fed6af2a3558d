// The System category's clipboard phase and the emptying of the clipboard.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "categories/windsys.h"
#include "traces/exact_names.h"

namespace zarn {
namespace {

// Holds the clipboard open for one reading and closes it on every path.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// Locks a global memory block for reading; knows how many bytes it may read.
class LockedGlobal {
 public:
  explicit LockedGlobal(HANDLE handle)
      : handle_(handle),
        data_(handle ? static_cast<const char*>(GlobalLock(handle)) : nullptr),
        size_(data_ ? GlobalSize(handle) : 0) {}
  ~LockedGlobal() {
    if (data_) GlobalUnlock(handle_);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  const char* Data() const { return data_; }
  SIZE_T Size() const { return size_; }

 private:
  HANDLE handle_;
  const char* data_;
  SIZE_T size_;
};

void AddClipboardItem(TCategoryForm& form, std::string name, const char* type, const char* info) {
  TraceItem item;
  item.name = std::move(name);
  item.location = "Clipboard";
  item.type = type;
  item.info = info;
  form.AddTrace(std::move(item));
}

// The text up to its terminating zero, but never past the end of its memory block: a
// program may put text on the clipboard that has no zero inside the block.
// Text too big for this process's memory is left out rather than ending the scan.
bool ReadClipboardText(std::string& text) {
  LockedGlobal block(GetClipboardData(CF_TEXT));
  if (!block.Data()) return false;
  const void* zero = std::memchr(block.Data(), '\0', block.Size());
  const SIZE_T length = zero ? static_cast<SIZE_T>(static_cast<const char*>(zero) - block.Data()) : block.Size();
  try {
    text.assign(block.Data(), length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// The text format the copying program put there itself: Windows enumerates the formats
// it makes from that one after it.
UINT OriginalTextFormat() {
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
    if (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT) return format;
  return CF_TEXT;
}

// Under the UTF-8 code page Windows still makes CF_TEXT from copied Unicode text with the
// system's own code page, not this process's: the Unicode text, converted here, is what
// the user copied.
bool ReadClipboardUnicodeText(std::string& text) {
  LockedGlobal block(GetClipboardData(CF_UNICODETEXT));
  if (!block.Data()) return false;
  const auto* wide = reinterpret_cast<const wchar_t*>(block.Data());
  const SIZE_T units = block.Size() / sizeof(wchar_t);
  const SIZE_T length = static_cast<SIZE_T>(std::find(wide, wide + units, L'\0') - wide);
  if (length == 0) {
    text.clear();
    return true;
  }
  if (length > 0x7FFFFFFF / 3) return false;
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  try {
    text.assign(static_cast<size_t>(n), '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  return WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text.data(), n, nullptr, nullptr) == n;
}

bool PictureAvailable() {
  return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_METAFILEPICT) ||
         IsClipboardFormatAvailable(CF_ENHMETAFILE);
}

// DragQueryFileA walks the list without knowing the block's size, so a list that another
// program wrote carelessly (an offset past the block, no closing empty name) is checked
// first.
bool DropListIsWellFormed(HANDLE drop) {
  LockedGlobal block(drop);
  if (!block.Data() || block.Size() < sizeof(DROPFILES)) return false;
  const auto* header = reinterpret_cast<const DROPFILES*>(block.Data());
  if (header->pFiles < sizeof(DROPFILES) || header->pFiles >= block.Size()) return false;
  const char* names = block.Data() + header->pFiles;
  const SIZE_T bytes = block.Size() - header->pFiles;
  if (header->fWide) {
    const SIZE_T chars = bytes / sizeof(wchar_t);
    const auto* wide = reinterpret_cast<const wchar_t*>(names);
    for (SIZE_T i = 0; i + 1 < chars; ++i)
      if (wide[i] == L'\0' && (i == 0 || wide[i + 1] == L'\0')) return true;
    return false;
  }
  for (SIZE_T i = 0; i + 1 < bytes; ++i)
    if (names[i] == '\0' && (i == 0 || names[i + 1] == '\0')) return true;
  return false;
}

void AddDroppedFiles(TCategoryForm& form) {
  HANDLE handle = GetClipboardData(CF_HDROP);
  if (!handle || !DropListIsWellFormed(handle)) return;
  HDROP drop = static_cast<HDROP>(handle);
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<char> path;
  for (UINT i = 0; i < count; ++i) {
    // 260 characters and the zero; a longer path (possible with "\\?\" names) gets room
    // for all of it rather than being cut to a name of some other file.
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    path.assign(length + 1 > MAX_PATH + 1 ? length + 1 : MAX_PATH + 1, '\0');
    const UINT copied = DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size()));
    AddClipboardItem(form, std::string(path.data(), copied < path.size() ? copied : 0), "Path File",
                     "Path File in Clipboard");
  }
}

}  // namespace

bool AddClipboardTraces(TCategoryForm& form) {
  OpenedClipboard clipboard(form.Handle());
  if (!clipboard) return false;
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    std::string text;
    const bool unicode = AnsiIsUtf8() && OriginalTextFormat() == CF_UNICODETEXT;
    if (unicode ? ReadClipboardUnicodeText(text) : ReadClipboardText(text))
      AddClipboardItem(form, std::move(text), "Text File", "Text File in Clipboard");
  } else if (PictureAvailable()) {
    AddClipboardItem(form, "Image File", "Image File", "Image File in Clipboard");
  } else if (IsClipboardFormatAvailable(CF_HDROP)) {
    AddDroppedFiles(form);
  }
  return true;
}

bool EmptyClipboardNow(HWND owner) {
  OpenedClipboard clipboard(owner);
  if (!clipboard) return false;
  EmptyClipboard();
  return true;
}

}  // namespace zarn
