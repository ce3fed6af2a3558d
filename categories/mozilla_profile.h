#pragma once
// Firefox's profiles.ini: which profile folder the Mozilla Firefox scan looks in.
#include <string>
#include <string_view>

#include "traces/text_list.h"

namespace zarn {

// What a running Firefox holds in its profile folder, without sharing.
inline constexpr char kFirefoxProfileLock[] = "parent.lock";

// Reads a text file line by line into `lines` (one entry per line, without its end), as a
// Pascal text file reads: a line ends at CR LF, LF or CR, and the last line needs no end.
// False when the file cannot be opened or read; `lines` then holds what came before.
bool ReadTextLines(const std::string& path, TextList& lines);

// The last line that begins with "Path=", with every "Path=Profiles/" removed; empty when
// no line begins with "Path=". Letter case counts; sections and other keys play no part.
std::string ProfileNameFromLines(const TextList& lines);

// True when the name, set between "...\Profiles\" and the next backslash, names a folder
// inside Profiles: not empty, not absolute, no ".." segment, no wildcard, device or
// stream syntax, no control bytes. Anything else would let a crafted profiles.ini point
// the scan (which has no filter) and then the cleaner at any folder of the disk.
bool StaysInProfiles(std::string_view name);

}  // namespace zarn
