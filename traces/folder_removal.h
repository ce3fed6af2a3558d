#pragma once
// Deleting a folder of a browser's profile that holds one site's data (an IndexedDB origin,
// a storage bucket): only below the profile, never through a link, and never so that the
// browser finds half of it. The folder is first renamed beside itself, which takes it out
// of the browser's sight at once or not at all (a browser that has a file of it open keeps
// it whole), and only then emptied and removed.
#include <string>
#include <string_view>

namespace zarn {

// Whether `path` (a folder, with or without its last backslash) lies below `base` and it and
// every folder between them is a real folder, no link and no file.
bool RealFolderBelow(const std::string& base, const std::string& path);

// Whether the file at `path` is there and cannot be opened without sharing: a program has
// it open, as a browser keeps a store's LOCK while it uses the store.
bool FileHeld(const std::string& path);

// Renames `folder` (below `base`, as RealFolderBelow checks) out of the way and deletes it
// with all it holds. A link inside is deleted as a link, never followed. False, with the
// folder where it was, when it is no real folder below `base` or cannot be renamed (a
// program uses it); false too when the renamed folder could not be emptied whole.
bool RemoveFolderBelow(const std::string& base, const std::string& folder);
// The same for a folder whose parent RealFolderBelow has found real already: the folder
// itself must be a real folder, no link.
bool RemoveRealFolder(const std::string& folder);

}  // namespace zarn
