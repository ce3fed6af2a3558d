#pragma once
// Which folders of a Chromium-based browser's User Data folder are profiles, and in which
// order the scan takes them.
#include <string>
#include <vector>

namespace zarn {

// The profile folders in a User Data listing, in scan order: "Default", then each
// "Profile <n>" by n. Other names ("Guest Profile", "System Profile", "Profile x") are not
// profiles.
std::vector<std::string> ChromiumProfileOrder(std::vector<std::string> folderNames);

}  // namespace zarn
