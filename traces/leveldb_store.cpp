#include "traces/leveldb_store.h"

#include <windows.h>

#include <helpers/memenv.h>
#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/write_batch.h>

#include <algorithm>
#include <cstdarg>
#include <vector>

#include "traces/handles.h"
#include "traces/probes.h"
#include "traces/pulse.h"
#include "traces/text_list.h"

namespace zarn {
namespace {

// The copy's folder inside the in-memory environment.
constexpr char kCopyName[] = "/store";

// LevelDB writes a LOG beside the store unless given a logger, and renames the old one: a
// store that is only read, or that the clean refuses, keeps its files as they were.
class NoLog : public leveldb::Logger {
 public:
  void Logv(const char*, va_list) override {}
};
NoLog noLog;

// The files LevelDB reads: CURRENT names the MANIFEST, which names the tables and logs.
// LOCK, LOG and LOG.old are not the store's data.
bool IsStoreFile(std::string_view name) {
  auto endsWith = [&](std::string_view end) {
    return name.size() > end.size() && name.substr(name.size() - end.size()) == end;
  };
  return name == "CURRENT" || name.rfind("MANIFEST-", 0) == 0 || endsWith(".log") || endsWith(".ldb") ||
         endsWith(".sst");
}

// A folder of its own, not a link to one.
bool IsRealFolder(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.substr(0, folder.size() - 1).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Appends the whole file at `path` to `out`; false when it cannot be read to its end.
bool ReadWhole(const std::string& path, unsigned long long size, leveldb::WritableFile& out, std::vector<char>& buffer) {
  unique_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  unsigned long long copied = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
    if (read == 0) break;
    if (!out.Append(leveldb::Slice(buffer.data(), read)).ok()) return false;
    copied += read;
  }
  return copied == size && out.Close().ok();
}

bool IsTable(std::string_view name) {
  return name.size() > 4 && (name.substr(name.size() - 4) == ".ldb" || name.substr(name.size() - 4) == ".sst");
}

// Reads every store file of `folder` into `env` under kCopyName; false when one is a link or
// cannot be read whole. `tables` gets the names of the tables.
bool CopyStore(const std::string& folder, leveldb::Env& env, std::vector<std::string>& tables) {
  TextList files;
  ListFiles(files, folder, "*");
  std::vector<char> buffer(1 << 20);
  bool found = false;
  for (size_t i = 0; i < files.Count(); ++i) {
    const std::string name(files.Text(i));
    const FileFacts& facts = *files.Facts(i);
    if (IsDotName(name) || (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!IsStoreFile(name)) continue;
    if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
    leveldb::WritableFile* raw = nullptr;
    if (!env.NewWritableFile(std::string(kCopyName) + "/" + name, &raw).ok()) return false;
    std::unique_ptr<leveldb::WritableFile> out(raw);
    if (!ReadWhole(folder + name, facts.size, *out, buffer) || !Pulse()) return false;
    found = found || name == "CURRENT";
    if (IsTable(name)) tables.push_back(name);
  }
  return found;
}

leveldb::Options OpenOptions(leveldb::Env* env) {
  leveldb::Options options;
  options.env = env;
  options.create_if_missing = false;
  options.paranoid_checks = true;
  options.info_log = &noLog;
  return options;
}

}  // namespace

LevelDbCopy::LevelDbCopy(const std::string& folder) {
  if (folder.empty() || folder.back() != '\\' || !IsRealFolder(folder) || IsFileLocked(folder + "LOCK")) return;
  env_.reset(leveldb::NewMemEnv(leveldb::Env::Default()));
  std::vector<std::string> tables;
  if (!CopyStore(folder, *env_, tables)) return;
  leveldb::Options options = OpenOptions(env_.get());
  // The copy goes on with its last log as it is, instead of writing it into a table first.
  options.reuse_logs = true;
  options.write_buffer_size = 64 << 20;
  leveldb::DB* db = nullptr;
  if (!leveldb::DB::Open(options, kCopyName, &db).ok()) return;
  db_ = db;
  // The open deletes a table that the MANIFEST does not name. Only a crash mid-compaction
  // leaves one, or a MANIFEST cut short: the store is not taken to be whole, since opening
  // it for the clean would delete that table from the folder.
  std::vector<std::string> left;
  env_->GetChildren(kCopyName, &left);
  for (const std::string& table : tables) {
    if (std::find(left.begin(), left.end(), table) == left.end()) {
      delete db_;
      db_ = nullptr;
      return;
    }
  }
}

LevelDbCopy::~LevelDbCopy() { delete db_; }

bool LevelDbCopy::ForEach(std::string_view prefix, const Visitor& visit) const {
  if (!db_) return false;
  leveldb::ReadOptions read;
  read.verify_checksums = true;
  read.fill_cache = false;
  std::unique_ptr<leveldb::Iterator> it(db_->NewIterator(read));
  const leveldb::Slice start(prefix.data(), prefix.size());
  for (it->Seek(start); it->Valid() && it->key().starts_with(start); it->Next()) {
    const leveldb::Slice key = it->key(), value = it->value();
    if (!visit(std::string_view(key.data(), key.size()), std::string_view(value.data(), value.size()))) break;
    if (!Pulse()) return false;
  }
  return it->status().ok();
}

std::optional<std::string> LevelDbCopy::Get(std::string_view key) const {
  if (!db_) return std::nullopt;
  leveldb::ReadOptions read;
  read.verify_checksums = true;
  std::string value;
  if (!db_->Get(read, leveldb::Slice(key.data(), key.size()), &value).ok()) return std::nullopt;
  return value;
}

bool EditLevelDb(const std::string& folder, LevelDbEdit& edit) {
  std::vector<std::string> doomed;
  {
    const LevelDbCopy copy(folder);
    bool accepted = true;
    if (!copy.Ok() || !copy.ForEach({}, [&](std::string_view key, std::string_view value) {
          return accepted = edit.Visit(key, value);
        }))
      return false;
    if (!accepted || !edit.Finish(doomed)) return false;
  }
  if (doomed.empty()) return true;
  // LevelDB's own open takes the store's LOCK and fails while a program holds it.
  leveldb::DB* opened = nullptr;
  if (!leveldb::DB::Open(OpenOptions(leveldb::Env::Default()), folder.substr(0, folder.size() - 1), &opened).ok())
    return false;
  const std::unique_ptr<leveldb::DB> db(opened);
  leveldb::WriteBatch batch;
  for (const std::string& key : doomed) batch.Delete(key);
  leveldb::WriteOptions write;
  write.sync = true;
  if (!db->Write(write, &batch).ok()) return false;
  // Deleted keys stay in the older tables and logs until a compaction rewrites them.
  db->CompactRange(nullptr, nullptr);
  return true;
}

}  // namespace zarn
