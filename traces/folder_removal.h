#pragma once
// Deleting a folder of a browser's profile that holds one site's data (an IndexedDB origin,
// a storage bucket): only below the profile, never through a link, and never so that the
// browser finds half of it. The folder is first moved, whole, into a folder of the program's
// own in the profile that no browser reads, which takes it out of the browser's sight at once
// or not at all (a browser that has a file of it open keeps it where it was), and only then
// emptied there.
#include <string>

#include "traces/handles.h"

namespace zarn {

// Whether `path` (a folder, with or without its last backslash) lies below `base` and it and
// every folder between them is a real folder, no link and no file.
bool RealFolderBelow(const std::string& base, const std::string& path);

// Whether the file at `path` is there and cannot be opened without sharing: a program has
// it open, as a browser keeps a store's LOCK while it uses the store.
bool FileHeld(const std::string& path);

// The folder of the profile that removed folders pass through; it goes when the removal
// that made it ends, unless something in it could not be deleted.
inline constexpr char kRemovalFolder[] = "ZarnCleaner.deleting";

// The removals of one store's folders in one profile (`profile`, with its last backslash,
// checked real by the caller). Moving a folder into a nearly empty one costs a third of
// moving it beside itself under Wine, which looks through the whole target folder for the
// new name; the folder of the program's own is made at the first removal.
class FolderRemoval {
 public:
  explicit FolderRemoval(std::string profile) : profile_(std::move(profile)) {}
  ~FolderRemoval();
  FolderRemoval(const FolderRemoval&) = delete;
  FolderRemoval& operator=(const FolderRemoval&) = delete;

  // Moves `folder` (below the profile, as RealFolderBelow checks) out of the way and deletes
  // it with all it holds. A link inside is deleted as a link, never followed. False, with the
  // folder where it was, when it is no real folder below the profile or cannot be moved (a
  // program uses it); false too when the moved folder could not be emptied whole.
  bool RemoveBelow(const std::string& folder);
  // The same for a folder whose parent RealFolderBelow has found real already: the folder
  // itself must be a real folder, no link.
  bool Remove(const std::string& folder);

 private:
  bool MakeAside();

  std::string profile_;
  std::wstring aside_;
  unique_file asideFolder_;
};

}  // namespace zarn
