#include "traces/registry.h"

#include <vector>

#include "traces/handles.h"

namespace zarn {
namespace {

constexpr REGSAM kReadOnly = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | READ_CONTROL;  // 0x20009

// Deletes key `rest` below `base` with everything beneath it, last subkey first.
bool DeleteTree(HKEY base, const std::string& rest) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, &raw) == ERROR_SUCCESS) {
    unique_hkey key(raw);
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      std::vector<char> name(longest + 2);
      for (DWORD i = count; i-- > 0;) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key.get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
          DeleteTree(key.get(), std::string(name.data(), len));
      }
    }
  }
  return RegDeleteKeyA(base, rest.c_str()) == ERROR_SUCCESS;
}

template <typename Enum>
void ListNames(HKEY key, TextList& list, bool subkeys, Enum enumerate) {
  list.Clear();
  if (!key) return;
  DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValue = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr,
                       &valueCount, &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  DWORD count = subkeys ? subkeyCount : valueCount;
  std::vector<char> name((subkeys ? longestSubkey : longestValue) + 1);
  list.Reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LONG rc = enumerate(key, i, name.data(), &len);
    if (rc == ERROR_MORE_DATA) {
      // Names in a multi-byte code page can be longer in bytes than the reported length.
      name.resize(32768);
      len = static_cast<DWORD>(name.size());
      rc = enumerate(key, i, name.data(), &len);
    }
    if (rc == ERROR_SUCCESS) list.Add(std::string_view(name.data(), len));
  }
}

}  // namespace

HKEY RootKey(Root root) { return root == Root::HKCU ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
const char* RootText(Root root) { return root == Root::HKCU ? "HKCU" : "HKLM"; }

std::string ReadRegString(const std::string& keyPath, const std::string& valueName, HKEY root) {
  HKEY raw = nullptr;
  if (RegOpenKeyA(root, keyPath.c_str(), &raw) != ERROR_SUCCESS) return {};
  unique_hkey key(raw);
  return ReadRegString(key.get(), valueName);
}

std::string ReadRegString(HKEY openKey, const std::string& valueName) {
  unsigned char buffer[256];
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(openKey, valueName.c_str(), nullptr, nullptr, buffer, &size) !=
          ERROR_SUCCESS ||
      size == 0 || size > sizeof buffer)
    return {};
  // The reported size counts a string's terminating zero; what lies before it is the text.
  std::string text(reinterpret_cast<const char*>(buffer), size - 1);
  if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
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
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return false;
  std::string newPath = relative ? currentPath_ + "\\" + rest : rest;
  CloseKey();
  current_.reset(opened);
  currentPath_ = std::move(newPath);
  return true;
}

bool TRegistry::RegKeyExists(const std::string& path) const {
  std::string rest;
  HKEY base = BaseFor(path, rest);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, rest.c_str(), 0, kReadOnly, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void TRegistry::ListSubkeyNames(TextList& list) const {
  ListNames(current_.get(), list, true, [](HKEY k, DWORD i, char* name, DWORD* len) {
    return RegEnumKeyExA(k, i, name, len, nullptr, nullptr, nullptr, nullptr);
  });
}

void TRegistry::ListValueNames(TextList& list) const {
  ListNames(current_.get(), list, false, [](HKEY k, DWORD i, char* name, DWORD* len) {
    return RegEnumValueA(k, i, name, len, nullptr, nullptr, nullptr, nullptr);
  });
}

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
