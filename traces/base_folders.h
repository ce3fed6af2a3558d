#pragma once
// The folders every scan starts from, read afresh from the registry.
#include <cstddef>
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
  UserTemp,       // the user's temporary folder, from HKCU\Environment "TMP" or "TEMP"
};
constexpr size_t kBaseFolderCount = 9;

// The folder as stored, without a trailing backslash; empty when the value is missing.
// Callers treat an empty folder as "nothing there" and never list the drive root.
std::string ReadBaseFolder(BaseFolder folder);

// True when the Shell Folders key holds a "Local Settings" value at all, empty or not. A
// Windows XP profile has one; Vista and later (and Wine) have none.
bool HasLocalSettingsValue();

// The user's temporary folder as Windows gives it to the user's programs: the profile's
// environment value "TMP", else "TEMP" (on Vista and later "%USERPROFILE%\AppData\Local\Temp"),
// its variables expanded. Empty unless that is a full path below a drive or share root.
std::string ReadUserTempFolder();

// True when this 32-bit program runs on 64-bit Windows (WOW64), where "<Windows>\system32"
// is silently redirected to "SysWOW64" and the real folder is reached as "Sysnative".
bool RunsUnderWow64();

// True when `windows` is the folder of the running Windows itself, the one folder whose
// "system32" WOW64 redirects.
bool IsRunningWindowsFolder(const std::string& windows);

// True when both name the same folder, compared without regard to case or a trailing
// backslash.
bool SameFolder(const std::string& a, const std::string& b);

}  // namespace zarn
