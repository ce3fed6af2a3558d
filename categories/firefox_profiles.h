#pragma once
// Every profile that Firefox's profiles.ini names, not only the one the Mozilla Firefox scan
// has always read: a user whose last Path= line names an unused profile still has the
// profile in use cleaned.
#include <string>
#include <vector>

#include "traces/text_list.h"

namespace zarn {

// The profile names of the file's Path= lines, each read as ProfileNameFromLines reads the
// last one: that one first, then the others in the file's order, each once, and only those
// that stay inside the Profiles folder.
// Names that lead to one folder (in another letter case, with other separators) are one
// profile.
std::vector<std::string> ProfileNamesFromLines(const TextList& lines);

// The profile names of appData + "\Mozilla\Firefox\profiles.ini", its lines left in
// `scratch`; none when appData is empty or the file is missing or cannot be read.
std::vector<std::string> ReadProfileNames(const std::string& appData, TextList& scratch);

}  // namespace zarn
