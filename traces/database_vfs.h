#pragma once
// The file system SQLite reaches a browser's database through: Windows' own, with every file
// that SQLite opens or deletes beside a database (the database, its journal, its log) checked
// by its handle first. SQLite names those files itself; a link planted after the program's
// checks would otherwise be followed.
//
// A file is opened only when its handle reached the folder the program checked (passed in the
// URI as kCheckedFolder) and the file's own name there. A scan's connection opens every file
// read-only and creates none. Neither opens a log's shared-memory index: connections run in
// exclusive locking mode, with the index in their own memory.
namespace zarn {

// The URI parameter with the final path of the database's folder, as UTF-8.
inline constexpr char kCheckedFolder[] = "checkedfolder";

// The name of the file system to open with: one for scans, which never write, and one for
// cleans. Registered on first use.
const char* GuardedFileSystem(bool writes);

}  // namespace zarn
