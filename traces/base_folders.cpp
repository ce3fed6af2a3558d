#include "traces/base_folders.h"

#include <windows.h>

#include <vector>

#include "controls/module_function.h"
#include "traces/handles.h"
#include "traces/registry.h"

namespace zarn {
namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// "C:\x..." or "\\server\share\x...": a folder below a root, never a root itself.
bool BelowARoot(const std::string& path) {
  if (path.size() > 3 && path[1] == ':' && path[2] == '\\') return path.find_first_not_of('\\', 3) != std::string::npos;
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    // Server and share name, then at least one folder below the share.
    size_t share = path.find('\\', 2);
    size_t below = share == std::string::npos ? share : path.find('\\', share + 1);
    return below != std::string::npos && below + 1 < path.size();
  }
  return false;
}

std::string Expanded(const std::string& text) {
  if (text.find('%') == std::string::npos) return text;
  DWORD n = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::vector<char> buffer(n);
  n = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), n);
  if (n == 0 || n > buffer.size()) return {};
  return std::string(buffer.data());
}

}  // namespace

std::string ReadBaseFolder(BaseFolder folder) {
  switch (folder) {
    case BaseFolder::AppData: return ReadRegString(kShellFolders, "AppData", HKEY_CURRENT_USER);
    case BaseFolder::LocalAppData: return ReadRegString(kShellFolders, "Local AppData", HKEY_CURRENT_USER);
    case BaseFolder::LocalSettings: return ReadRegString(kShellFolders, "Local Settings", HKEY_CURRENT_USER);
    case BaseFolder::Recent: return ReadRegString(kShellFolders, "Recent", HKEY_CURRENT_USER);
    case BaseFolder::Cookies: return ReadRegString(kShellFolders, "Cookies", HKEY_CURRENT_USER);
    case BaseFolder::Cache: return ReadRegString(kShellFolders, "Cache", HKEY_CURRENT_USER);
    case BaseFolder::ProgramFiles:
      return ReadRegString("Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", HKEY_LOCAL_MACHINE);
    case BaseFolder::SystemRoot:
      return ReadRegString("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", HKEY_LOCAL_MACHINE);
    case BaseFolder::UserTemp: return ReadUserTempFolder();
  }
  return {};
}

bool HasLocalSettingsValue() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return false;
  unique_hkey key(raw);
  return RegQueryValueExA(key.get(), "Local Settings", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string ReadUserTempFolder() {
  for (const char* name : {"TMP", "TEMP"}) {
    const std::string value = ReadRegString("Environment", name, HKEY_CURRENT_USER);
    if (value.empty()) continue;
    std::string folder = WithoutTrailingBackslashes(Expanded(value));
    return BelowARoot(folder) ? folder : std::string();
  }
  return {};
}

bool RunsUnderWow64() {
  static const bool wow64 = [] {
    // Looked up at run time: Windows XP before its second service pack lacks it.
    using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, BOOL*);
    const auto isWow64 = ModuleFunction<IsWow64ProcessProc>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL result = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &result) && result;
  }();
  return wow64;
}

bool IsRunningWindowsFolder(const std::string& windows) {
  char buffer[MAX_PATH + 1];
  const UINT n = GetSystemWindowsDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer && !windows.empty() && SameFolder(windows, std::string(buffer, n));
}

bool SameFolder(const std::string& a, const std::string& b) {
  return lstrcmpiA(WithoutTrailingBackslashes(a).c_str(), WithoutTrailingBackslashes(b).c_str()) == 0;
}

}  // namespace zarn
