#pragma once
// File-system probes shared by every scanner and the catalogue.
//
// None of them reports failures: a missing folder lists nothing, a missing file has the
// size "-1" and is neither existing nor locked.
#include <string>
#include <string_view>

#include "traces/text_list.h"

namespace zarn {

// One entry per match of folder + mask, "." and ".." and sub-folders included, in the
// order the file system returns them. The list is emptied first, also when nothing matches.
// A name that the ANSI listing cannot hand over exactly (cut to fit its buffer, or with a
// stand-in for a character outside the code page) is left out.
// ListFiles stores the bare name, ListFilesIn folder + name.
void ListFiles(TextList& list, const std::string& folder, const std::string& mask);
void ListFilesIn(TextList& list, const std::string& folder, const std::string& mask);

// "." or "..", which a listing of every entry also returns.
bool IsDotName(std::string_view name);
// A listed entry that is a folder of its own, not a link (junction or symbolic link) to one.
bool IsRealFolder(const FileFacts& facts);
// The names of the real subfolders of `folder` (which ends in a backslash), "." and ".."
// left out, in the order the file system returns them. The list is emptied first.
void ListRealSubfolders(TextList& list, const std::string& folder);

// Size in bytes of the first entry matching the path, as signed decimal text; "-1" when
// nothing matches. The full 64-bit size is kept, so files of 2 GiB and more read true.
std::string FileSizeText(const std::string& path);
std::string FileSizeText(const FileFacts& facts);

// "1.50 KB", "1023 bytes", "-1 bytes": two decimals, always a point.
std::string FormatSize(std::string_view decimal);
std::string FormatSize(long long bytes);
// The same with the given decimal separator and the text after a count below one KB.
std::string FormatSize(long long bytes, std::string_view decimalSeparator, std::string_view bytesSuffix);

// The existence test: an existing entry that is not a folder and whose last-write time,
// in local time, fits an MS-DOS date (1980 to 2107).
bool FileExists(const std::string& path);
bool FileExists(const FileFacts& facts);

// True when the path names an existing file that cannot be opened for exclusive reading
// and writing. `facts`, when given, are the listing's data for that path.
bool IsFileLocked(const std::string& path, const FileFacts* facts = nullptr);

// The text with every occurrence of part removed, also those a removal brings together.
std::string RemoveText(std::string_view part, std::string text);

// The text from the last dot of a name or path to its end, dot included; empty when
// there is no dot after the last backslash.
std::string ExtensionOf(std::string_view name);

// The folder of a path, up to and with its last backslash, and the name after it. A path
// without a backslash is all name.
std::string LocationOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace zarn
