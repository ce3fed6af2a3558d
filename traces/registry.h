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

// Which registry view a key is opened in. A 32-bit process on 64-bit Windows sees the
// local machine's SOFTWARE key through WOW6432Node unless it asks for the 64-bit view;
// on 32-bit Windows both flags are ignored.
enum class RegistryView { Default, Wow64_64, Wow64_32 };

// True when the key exists and opens for reading in that view. Nothing is created, and
// no write access is asked for: a standard user under UAC never gets it under
// HKEY_LOCAL_MACHINE. A leading backslash is taken as the root.
bool KeyReadable(Root root, const std::string& key, RegistryView view = RegistryView::Default);

// "Is the program installed?": a current-user key is looked for as it stands; a local
// machine key in the 64-bit view, then in the 32-bit view, as a 64-bit or a 32-bit
// installer may have written it.
bool KeyInstalled(Root root, const std::string& key);

// A value read as ReadRegString does, from the given view of the local machine's root.
std::string ReadMachineString(const std::string& keyPath, const std::string& valueName, RegistryView view);

// The value's data as text, read into a buffer of 256 characters (bytes, in a single-byte
// code page): empty when the key or value is missing, the data is longer than the buffer,
// or the data is empty. The type is not
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
