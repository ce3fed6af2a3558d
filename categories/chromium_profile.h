#pragma once
// The reach of a Chromium-based browser, written once as rows of the shared engine. Every
// profile keeps its caches, cookies and history under the same names; Chrome and Edge keep
// one folder per profile ("Default", "Profile 1", ...) in a "User Data" folder, Opera its
// own few profile folders. A browser is a row of the browsers' table naming its User Data
// folder (categories/chromium_browsers.h); the profile's table and its walk are shared.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "traces/cleaner.h"
#include "traces/scan_engine.h"

namespace zarn {

class TCategoryForm;

// One part of a profile's reach: its rows (folders below the profile), the filter its
// files pass and their Info text. Rows that name a kind of store (the cookie databases) give
// the items the kind lists, not the files.
struct ProfilePart {
  std::span<const FileLocation> rows;
  FileFilter filter;
  const char* info;
};

// What each profile holds that is a trace, part by part in scan order.
std::span<const ProfilePart> ChromiumProfileParts();
// The parts' tables, for the checks that walk every table.
std::vector<FileTable> ChromiumProfileTables();
// How a clean treats a profile's traces: the journals of the SQLite databases it deletes
// go with them; its cookies go site by site.
const CleanRules& ChromiumCleanRules();

// Lists one profile, `below` its base folder (begins with a backslash, no trailing one),
// and adds a trace for each file found, in the order of the parts. On `base` when one is
// given; otherwise the disk cache lies in the local folder and the rest in the roaming
// one, as a browser that keeps its profile in the roaming folder lays them out.
void ProbeChromiumProfile(TCategoryForm& form, FolderSnapshot& folders, const std::string& below,
                          std::optional<BaseFolder> base = {});

// Lists every profile of a browser's User Data folder (below Local AppData; starts and ends
// with a backslash), in the order ChromiumProfileOrder gives, each as ProbeChromiumProfile
// does on the local folder. Without the base folder, or with a link on the way to User
// Data, nothing is looked up.
void ProbeChromiumProfiles(TCategoryForm& form, const std::string& userData);

}  // namespace zarn
