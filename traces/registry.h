#pragma once
// Registry reads and the registry accessor used by the scanners, the catalogue probes and
// the cleaner. Keys are only ever opened, never created.
#include <windows.h>

#include <string>

#include "traces/handles.h"
#include "traces/text_list.h"

namespace zarn {

enum class Root { HKCU, HKLM };
HKEY RootKey(Root root);
// "HKCU" or "HKLM", the root's text in trace locations.
const char* RootText(Root root);

// The value's data as text, read into a 256-byte buffer: empty when the key or value is
// missing, the data is longer than the buffer, or the data is empty. The type is not
// examined; the text ends at the data's last byte before the terminator (or at an
// embedded zero). An empty value name reads the key's default value.
std::string ReadRegString(const std::string& keyPath, const std::string& valueName, HKEY root);
// The same read from a key that is open already.
std::string ReadRegString(HKEY openKey, const std::string& valueName);

// A registry object for one task: created on a root, opens existing keys with full
// access, releases its key when destroyed. A path with a leading backslash is taken from
// the root; one without is taken relative to the open key (or the root when none is open).
class TRegistry {
 public:
  explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  void SetRootKey(HKEY root);
  HKEY RootKey() const { return root_; }
  HKEY CurrentKey() const { return current_.get(); }
  const std::string& CurrentPath() const { return currentPath_; }
  void CloseKey();

  bool OpenRegKey(const std::string& path);
  bool RegKeyExists(const std::string& path) const;
  void ListSubkeyNames(TextList& list) const;
  void ListValueNames(TextList& list) const;
  bool DeleteRegValue(const std::string& name);
  bool DeleteRegKeyTree(const std::string& path);

 private:
  // The key a path is taken from, and the path as passed to the registry.
  HKEY BaseFor(const std::string& path, std::string& rest) const;

  HKEY root_;
  unique_hkey current_;
  std::string currentPath_;
};

}  // namespace zarn
