#pragma once
// The folders every scan starts from, read afresh from the registry.
#include <string>

namespace zarn {

enum class BaseFolder {
  AppData,        // Shell Folders "AppData"
  LocalAppData,   // Shell Folders "Local AppData"
  LocalSettings,  // Shell Folders "Local Settings"
  Recent,         // Shell Folders "Recent"
  Cookies,        // Shell Folders "Cookies"
  Cache,          // Shell Folders "Cache"
  ProgramFiles,   // HKLM ...\CurrentVersion "ProgramFilesDir"
  SystemRoot,     // HKLM ...\Windows NT\CurrentVersion "SystemRoot"
};

// The folder as stored, without a trailing backslash; empty when the value is missing.
// Callers treat an empty folder as "nothing there" and never list the drive root.
std::string ReadBaseFolder(BaseFolder folder);

}  // namespace zarn
