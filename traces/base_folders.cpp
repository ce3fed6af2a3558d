#include "traces/base_folders.h"

#include "traces/registry.h"

namespace zarn {

std::string ReadBaseFolder(BaseFolder folder) {
  static const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
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
  }
  return {};
}

}  // namespace zarn
