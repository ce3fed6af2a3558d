#include "traces/registry.h"

#include <algorithm>
#include <vector>

#include "traces/exact_names.h"
#include "traces/handles.h"
#include "traces/pulse.h"

namespace zarn {
namespace {

constexpr REGSAM kReadOnly = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | READ_CONTROL;  // 0x20009

// Deletes key `rest` below `base` with everything beneath it, last subkey first.
bool DeleteTree(HKEY base, const std::string& rest) {
  unique_hkey key;
  if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) {
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS) {
      std::vector<char> name(longest + 2);
      for (DWORD i = count; i-- > 0;) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key.get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
          DeleteTree(key.get(), std::string(name.data(), len));
      }
    }
  }
  return RegDeleteKeyA(base, rest.c_str()) == ERROR_SUCCESS;
}

REGSAM ViewFlag(RegistryView view) {
  switch (view) {
    case RegistryView::Default: return 0;
    case RegistryView::Wow64_64: return KEY_WOW64_64KEY;
    case RegistryView::Wow64_32: return KEY_WOW64_32KEY;
  }
  return 0;
}

std::string WithoutLeadingBackslash(const std::string& key) {
  return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

// The text before a string's terminating zero (or an embedded one).
std::string TextOfData(const char* data, DWORD size) {
  std::string text(data, size - 1);
  if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

constexpr DWORD kTextCapacity = 256;

// Under UTF-8 a character takes up to three bytes where the user's code page took one:
// the buffer then holds 256 characters (UTF-16 units, the terminator included), not bytes.
std::string ReadLongUtf8String(HKEY key, const std::string& valueName, DWORD size) {
  if (size > kTextCapacity * 3) return {};
  std::vector<char> buffer(size);
  DWORD type = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
          ERROR_SUCCESS ||
      size == 0 || size > buffer.size() || (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, buffer.data(), static_cast<int>(size), nullptr, 0);
  if (units <= 0 || static_cast<DWORD>(units) > kTextCapacity) return {};
  return TextOfData(buffer.data(), size);
}

LONG EnumerateName(HKEY key, DWORD i, char* name, DWORD* len, bool subkeys) {
  return subkeys ? RegEnumKeyExA(key, i, name, len, nullptr, nullptr, nullptr, nullptr)
                 : RegEnumValueA(key, i, name, len, nullptr, nullptr, nullptr, nullptr);
}

LONG EnumerateWideName(HKEY key, DWORD i, wchar_t* name, DWORD* len, bool subkeys) {
  return subkeys ? RegEnumKeyExW(key, i, name, len, nullptr, nullptr, nullptr, nullptr)
                 : RegEnumValueW(key, i, name, len, nullptr, nullptr, nullptr, nullptr);
}

void ListNames(HKEY key, TextList& list, bool subkeys) {
  list.Clear();
  if (!key) return;
  DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValue = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                       &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  DWORD count = subkeys ? subkeyCount : valueCount;
  std::vector<char> name((subkeys ? longestSubkey : longestValue) + 1);
  list.Reserve(count);
  for (DWORD i = 0; i < count && Pulse(); ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LONG rc = EnumerateName(key, i, name.data(), &len, subkeys);
    if (rc == ERROR_MORE_DATA) {
      // Names in a multi-byte code page can be longer in bytes than the reported length:
      // in UTF-8 up to three bytes for each UTF-16 unit.
      const size_t longest = subkeys ? longestSubkey : longestValue;
      name.resize(std::max<size_t>(32768, longest * 3 + 4));
      len = static_cast<DWORD>(name.size());
      rc = EnumerateName(key, i, name.data(), &len, subkeys);
    }
    if (rc != ERROR_SUCCESS) continue;
    const std::string_view text(name.data(), len);
    // A name with a stand-in character is listed only when it is the registry's name
    // exactly: a '?' may be the name's own, or a character this code page cannot hold.
    if (MayBeLossy(text)) {
      std::vector<wchar_t> wide(32768);
      DWORD wideLen = static_cast<DWORD>(wide.size());
      if (EnumerateWideName(key, i, wide.data(), &wideLen, subkeys) != ERROR_SUCCESS ||
          !SameAsWide(text, std::wstring_view(wide.data(), wideLen)))
        continue;
    }
    list.Add(text);
  }
}

}  // namespace

HKEY RootKey(Root root) { return root == Root::HKCU ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
const char* RootText(Root root) { return root == Root::HKCU ? "HKCU" : "HKLM"; }

std::string ReadRegString(const std::string& keyPath, const std::string& valueName, HKEY root) {
  unique_hkey key;
  if (RegOpenKeyA(root, keyPath.c_str(), key.put()) != ERROR_SUCCESS) return {};
  return ReadRegString(key.get(), valueName);
}

std::string ReadRegString(HKEY openKey, const std::string& valueName) {
  unsigned char buffer[kTextCapacity];
  DWORD size = sizeof buffer;
  const LONG rc = RegQueryValueExA(openKey, valueName.c_str(), nullptr, nullptr, buffer, &size);
  if (rc == ERROR_MORE_DATA && AnsiIsUtf8()) return ReadLongUtf8String(openKey, valueName, size);
  if (rc != ERROR_SUCCESS || size == 0 || size > sizeof buffer) return {};
  // The reported size counts a string's terminating zero; what lies before it is the text.
  return TextOfData(reinterpret_cast<const char*>(buffer), size);
}

bool KeyReadable(Root root, const std::string& key, RegistryView view) {
  unique_hkey opened;
  return RegOpenKeyExA(RootKey(root), WithoutLeadingBackslash(key).c_str(), 0, kReadOnly | ViewFlag(view),
                       opened.put()) == ERROR_SUCCESS;
}

bool KeyInstalled(Root root, const std::string& key) {
  if (root == Root::HKCU) return KeyReadable(root, key);
  return KeyReadable(root, key, RegistryView::Wow64_64) || KeyReadable(root, key, RegistryView::Wow64_32);
}

std::string ReadMachineString(const std::string& keyPath, const std::string& valueName, RegistryView view) {
  unique_hkey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, WithoutLeadingBackslash(keyPath).c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view),
                    key.put()) != ERROR_SUCCESS)
    return {};
  return ReadRegString(key.get(), valueName);
}

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

void TRegistry::CloseKey() {
  current_.reset();
  currentPath_.clear();
}

HKEY TRegistry::BaseFor(const std::string& path, std::string& rest) const {
  if (!path.empty() && path[0] == '\\') {
    rest = path.substr(1);
    return root_;
  }
  rest = path;
  return current_ ? current_.get() : root_;
}

bool TRegistry::OpenRegKey(const std::string& path) {
  std::string rest;
  HKEY base = BaseFor(path, rest);
  bool relative = current_ && base == current_.get();
  // The new key is opened while the old one is still open: a relative path starts from it.
  unique_hkey opened;
  if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, opened.put()) != ERROR_SUCCESS) return false;
  std::string newPath = relative ? currentPath_ + "\\" + rest : rest;
  CloseKey();
  current_ = std::move(opened);
  currentPath_ = std::move(newPath);
  return true;
}

bool TRegistry::RegKeyExists(const std::string& path) const {
  std::string rest;
  HKEY base = BaseFor(path, rest);
  unique_hkey opened;
  return RegOpenKeyExA(base, rest.c_str(), 0, kReadOnly, opened.put()) == ERROR_SUCCESS;
}

void TRegistry::ListSubkeyNames(TextList& list) const { ListNames(current_.get(), list, true); }

void TRegistry::ListValueNames(TextList& list) const { ListNames(current_.get(), list, false); }

bool TRegistry::DeleteRegValue(const std::string& name) {
  return current_ && RegDeleteValueA(current_.get(), name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteRegKeyTree(const std::string& path) {
  std::string rest;
  HKEY base = BaseFor(path, rest);
  // An empty name would address the base key itself: never delete a key by that road.
  if (rest.empty()) return false;
  return DeleteTree(base, rest);
}

}  // namespace zarn
