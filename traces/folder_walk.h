#pragma once
// Folder listings that stay inside the folder they start from: a junction or symbolic link
// to a folder is never entered, so a scan cannot reach files that lie elsewhere.
#include <string>
#include <string_view>

#include "traces/text_list.h"

namespace zarn {

// "." or "..", which a listing of every entry also returns.
bool IsDotName(std::string_view name);

// A listed entry that is a folder of its own, not a link to one.
bool IsRealFolder(const FileFacts& facts);

// Whether each folder named in `below` (folder names, each ending in a backslash) exists,
// taken one after the other from `folder`, and none of them is a link. An empty `below`
// holds.
bool RealFoldersBelow(const std::string& folder, std::string_view below);

// The names of the real subfolders of `folder` (which ends in a backslash), "." and ".."
// left out, in the order the file system returns them. The list is emptied first.
void ListRealSubfolders(TextList& list, const std::string& folder);

// Every entry of `folder` (which ends in a backslash) that is not a folder, then, depth
// first, the same for each real subfolder: full paths with the listing's data. The list is
// emptied first. ANSI paths end at MAX_PATH, which bounds the depth.
void ListFilesBelow(TextList& list, const std::string& folder);

}  // namespace zarn
