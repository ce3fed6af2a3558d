#pragma once
// The reach of a Chromium-based browser. Its "User Data" folder holds one folder per
// profile ("Default", "Profile 1", "Profile 2", ...), and every profile keeps its caches,
// cookies and history under the same names. A browser is a row naming its User Data
// folder; the profile table and the walk are shared.
#include <span>
#include <string>
#include <vector>

#include "traces/base_folders.h"

namespace zarn {

class TCategoryForm;

enum class Walk {
  Flat,       // the files matching the mask in the folder itself
  Recursive,  // every file in the folder and its subfolders; the mask is "*"
};

enum class InUse {
  Listed,   // a file the browser holds open is a trace all the same
  LeftOut,  // the lock test drops a file the browser holds open
};

struct ProfileFile {
  const char* inProfile;  // folders below the profile folder, each ending in a backslash; or ""
  const char* mask;
  Walk walk;
  InUse inUse;
  const char* info;
  int workingList;  // index into the form's ListBox
};

struct ChromiumBrowser {
  BaseFolder base;
  const char* userData;  // from the base folder; starts and ends with a backslash
  std::span<const ProfileFile> reach;
};

// What each profile of a Chromium-based browser holds that is a trace, in scan order.
std::span<const ProfileFile> ChromiumProfileFiles();

// The profile folders in a User Data listing, in scan order: "Default", then each
// "Profile <n>" by n. Other names are not profiles.
std::vector<std::string> ChromiumProfileOrder(std::vector<std::string> folderNames);

// Lists every profile of the browser into the form's lists and adds a file trace for each
// file found, profile after profile, in the order of the browser's reach. Folders that are
// links are never entered, and without a base folder nothing is looked up.
void ProbeChromiumProfiles(TCategoryForm& form, const ChromiumBrowser& browser);

}  // namespace zarn
