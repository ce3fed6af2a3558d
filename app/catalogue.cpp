#include "app/catalogue.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "categories/chromium_browsers.h"
#include "traces/base_folders.h"
#include "traces/probes.h"
#include "traces/registry.h"

namespace zarn {
namespace {

enum class Probe { Always, KeyHkcu, KeyHklm, SafariExe };

struct Entry {
  const char* caption;
  const char* description;
  Probe probe;
  const char* key = nullptr;        // the key opened for the probe
  const char* existsKey = nullptr;  // the key then asked for (the same key, in Opera's spelling)
};

const Entry kCatalogue[] = {
    {"Windows Explorer", "Recent Documents, Explorer MRUs, Search Autocomplete", Probe::Always},
    {"Windows Applets", "Recentlist in Paint, Wordpad, Regedit", Probe::Always},
    {"System", "Recycle Bin, Temporary Files, Log Files, Clipboard", Probe::Always},
    {"Internet Explorer", "Cookies,Temp IE, Type URLs, Last Download", Probe::KeyHkcu,
     "\\SOFTWARE\\Microsoft\\Internet Explorer"},
    {"Opera", "Cookies, Internet Cache, History", Probe::KeyHkcu, "\\SOFTWARE\\Opera Software",
     "\\Software\\Opera Software"},
    {"Mozilla Firefox", "Cookies, Internet Cache, History", Probe::KeyHklm, "\\SOFTWARE\\Mozilla"},
    {"Safari", "Cookies, Internet Cache, History", Probe::SafariExe},
    {"Microsoft Office", "Recentlist in Microsoft Office Applications", Probe::KeyHkcu,
     "\\Software\\Microsoft\\Office"},
    {"Open Office", "Recentlist in Open Office Applications", Probe::KeyHklm,
     "\\SOFTWARE\\OpenOffice.org\\OpenOffice.org"},
    {"Adobe", "Recentlist in Adobe Applications", Probe::KeyHkcu, "\\Software\\Adobe"},
    {"Macromedia", "Recentlist in Macromedia Applications", Probe::KeyHkcu, "\\Software\\Macromedia"},
    {"Media Player", "Recentlist in Windows Media Player", Probe::KeyHkcu,
     "\\Software\\Microsoft\\MediaPlayer\\Player"},
};

// "Is it installed?" needs only reading: a standard user never gets write access to the
// local machine's SOFTWARE key, and a 64-bit program registers in the 64-bit view. The
// Opera row names its key in two spellings; the registry compares them without case.
bool KeyPresent(Root root, const char* key, const char* existsKey) {
  return KeyInstalled(root, key) && (!existsKey || KeyInstalled(root, existsKey));
}

// Safari is looked for in the programs folder of each view: "Program Files" and, on
// 64-bit Windows, "Program Files (x86)". Without a programs folder there is nothing to
// look at: never probe the drive root.
bool SafariPresent() {
  static const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
  for (RegistryView view : {RegistryView::Wow64_64, RegistryView::Wow64_32}) {
    const std::string programs = ReadMachineString(kCurrentVersion, "ProgramFilesDir", view);
    if (!programs.empty() && FileExists(programs + "\\Safari\\Safari.exe")) return true;
  }
  return false;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A Chromium-based browser is installed when its User Data folder, its key under the
// current user, or its updater's key (where it has one) is there. The keys are only read:
// opening one with write access would fail for a key that an administrator's installer
// wrote, and the browser is installed all the same. The 32-bit
// updater writes its key to the local machine's 32-bit view, also on 64-bit Windows. A
// browser without an updater key is known by its folder and its user key alone: an empty
// key name would open the local machine's root and offer the browser on every machine.
bool BrowserInstalled(const ChromiumBrowser& browser) {
  const std::string local = ReadBaseFolder(BaseFolder::LocalAppData);
  const std::string_view userData = browser.userData;
  return (!local.empty() && IsFolder(local + std::string(userData.substr(0, userData.size() - 1)))) ||
         KeyReadable(Root::HKCU, browser.userKey) ||
         (browser.updaterKey && KeyReadable(Root::HKLM, browser.updaterKey, RegistryView::Wow64_32));
}

bool Offered(const Entry& e) {
  switch (e.probe) {
    case Probe::Always: return true;
    case Probe::KeyHkcu: return KeyPresent(Root::HKCU, e.key, e.existsKey);
    case Probe::KeyHklm: return KeyPresent(Root::HKLM, e.key, e.existsKey);
    case Probe::SafariExe: return SafariPresent();
  }
  return false;
}

}  // namespace

std::vector<CatalogueRow> BuildCatalogue() {
  std::vector<CatalogueRow> rows;
  for (const Entry& e : kCatalogue)
    if (Offered(e)) rows.push_back({e.caption, e.description});
  // The Chromium browsers follow the twelve, in their table's order.
  for (const ChromiumBrowser& browser : ChromiumBrowsers())
    if (BrowserInstalled(browser)) rows.push_back({browser.form.caption, browser.description});
  return rows;
}

}  // namespace zarn
