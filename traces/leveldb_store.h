#pragma once
// A browser's LevelDB store (a folder of CURRENT, MANIFEST-*, *.log and *.ldb files in
// byte-wise key order), read and cleaned without ever leaving it half-written.
//
// Opening a LevelDB writes to it (the log is turned into a table, a new MANIFEST is begun),
// so a scan reads the store's files into memory and opens that copy there: the folder is
// only read. A clean deletes keys in one synced batch, which LevelDB applies whole or not at
// all, and compacts so that no file keeps them. Nothing is read through a link, nor while
// another program holds the store's LOCK.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leveldb {
class DB;
class Env;
}  // namespace leveldb

namespace zarn {

class LevelDbCopy {
 public:
  // Reads the store in `folder` (ending in a backslash) into memory and opens it there. Ok()
  // is false when the folder is not a store that opens cleanly: missing, a link, held by a
  // program, in another key order (IndexedDB's, say), corrupt or truncated.
  explicit LevelDbCopy(const std::string& folder);
  ~LevelDbCopy();
  LevelDbCopy(const LevelDbCopy&) = delete;
  LevelDbCopy& operator=(const LevelDbCopy&) = delete;

  bool Ok() const { return db_ != nullptr; }

  // Calls `visit` for every key that starts with `prefix`, in key order, until it returns
  // false. False when the store could not be read to the end (a damaged block, a stop):
  // what was visited then is not the whole store.
  using Visitor = std::function<bool(std::string_view key, std::string_view value)>;
  bool ForEach(std::string_view prefix, const Visitor& visit) const;
  // The value of `key`; nothing when it is not there or cannot be read.
  std::optional<std::string> Get(std::string_view key) const;

 private:
  std::unique_ptr<leveldb::Env> env_;
  leveldb::DB* db_ = nullptr;
};

// A clean of one store, planned on a fresh copy of it: every key is shown to Visit() in key
// order, then Finish() names the keys to delete. Either may refuse the clean (the store is
// no longer of the kind or version the scan read).
class LevelDbEdit {
 public:
  virtual ~LevelDbEdit() = default;
  virtual bool Visit(std::string_view key, std::string_view value) = 0;
  virtual bool Finish(std::vector<std::string>& doomed) = 0;
};

// Plans `edit` on a fresh copy of the store in `folder`, read to its end, then deletes the
// keys it names in one synced batch and compacts the store. False, with the store as it
// was, when the copy does not read, the edit refuses, the store cannot be opened for
// writing (a program holds it) or the batch cannot be written.
bool EditLevelDb(const std::string& folder, LevelDbEdit& edit);

}  // namespace zarn
