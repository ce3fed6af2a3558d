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
std::vector<std::string> ProfileNamesFromLines(const TextList& lines);

}  // namespace zarn
