#include "categories/chromium_quota_stores.h"

#include <algorithm>

#include "categories/chromium_storage_key.h"
#include "categories/protobuf_fields.h"
#include "traces/database.h"
#include "traces/sha1.h"
#include "traces/site_rule.h"

namespace zarn {
namespace {

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }
bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<first>\0<second>" after `prefix`: the two parts.
bool SplitAtNul(std::string_view key, std::string_view prefix, std::string_view& first, std::string_view& second) {
  if (!StartsWith(key, prefix)) return false;
  key.remove_prefix(prefix.size());
  const size_t nul = key.find('\0');
  if (nul == std::string_view::npos || nul == 0 || nul + 1 == key.size()) return false;
  first = key.substr(0, nul);
  second = key.substr(nul + 1);
  return true;
}

constexpr std::string_view kSwVersionKey = "INITDATA_DB_VERSION", kSwVersion = "2";
constexpr std::string_view kUniqueOrigin = "INITDATA_UNIQUE_ORIGIN:", kRegistration = "REG:",
                           kIdToOrigin = "REGID_TO_ORIGIN:", kHasUserData = "REG_HAS_USER_DATA:",
                           kUserData = "REG_USER_DATA:", kResource = "RES:";
// ServiceWorkerRegistrationData: 1 the registration's id, 4 its version's id.
constexpr uint32_t kRegistrationIdField = 1, kVersionIdField = 4;

// A registration's key and record; nothing when either does not parse.
std::optional<ServiceWorkerRegistration> ParseRegistration(std::string_view key, std::string_view value) {
  std::string_view storageKey, id;
  if (!SplitAtNul(key, kRegistration, storageKey, id) || !IsDigits(id)) return std::nullopt;
  const std::optional<uint64_t> recordId = ProtoVarint(value, kRegistrationIdField);
  const std::optional<uint64_t> version = ProtoVarint(value, kVersionIdField);
  if (!recordId || !version || std::to_string(*recordId) != id) return std::nullopt;
  return ServiceWorkerRegistration{std::string(storageKey), SiteOfStorageKey(storageKey), *recordId, *version};
}

}  // namespace

std::optional<std::vector<Bucket>> ListBuckets(Database& db) {
  if (!db.HasColumns("main", "buckets", {"id", "storage_key", "name"})) return std::nullopt;
  Statement rows(db, "SELECT id, storage_key, name FROM buckets ORDER BY id");
  std::vector<Bucket> buckets;
  while (rows.Step()) {
    if (!rows.IsText(1)) continue;
    Bucket bucket{rows.Int(0), rows.Text(1), rows.Text(2), {}};
    bucket.site = SiteOfStorageKey(bucket.storageKey);
    if (!bucket.site.empty()) buckets.push_back(std::move(bucket));
  }
  if (!rows.Done()) return std::nullopt;
  return buckets;
}

bool DeleteBuckets(Database& db, const std::vector<int64_t>& ids) {
  Statement del(db, "DELETE FROM buckets WHERE id = ?1");
  for (int64_t id : ids) {
    if (!del.Bind(1, id) || !del.Run()) return false;
    del.Reset();
  }
  return del.Ok();
}

std::optional<std::vector<ServiceWorkerRegistration>> ListServiceWorkers(const LevelDbCopy& copy) {
  std::vector<ServiceWorkerRegistration> registrations;
  bool version = false, broken = false;
  const bool read = copy.ForEach({}, [&](std::string_view key, std::string_view value) {
    if (key == kSwVersionKey) version = value == kSwVersion;
    if (StartsWith(key, kRegistration)) {
      std::optional<ServiceWorkerRegistration> registration = ParseRegistration(key, value);
      broken = broken || !registration;
      if (registration && !registration->site.empty()) registrations.push_back(std::move(*registration));
    }
    return !broken;
  });
  if (!read || !version || broken) return std::nullopt;
  return registrations;
}

bool ServiceWorkerClean::Doomed(std::string_view storageKey) {
  auto found = doomedKey_.find(std::string(storageKey));
  if (found == doomedKey_.end()) {
    const std::string site = SiteOfStorageKey(storageKey);
    found = doomedKey_.emplace(std::string(storageKey), !site.empty() && sites_.count(site) > 0).first;
  }
  return found->second;
}

bool ServiceWorkerClean::Visit(std::string_view key, std::string_view value) {
  std::string_view first, second;
  bool doomed = false;
  if (key == kSwVersionKey) {
    version_ = value == kSwVersion;
  } else if (StartsWith(key, kUniqueOrigin)) {
    doomed = Doomed(key.substr(kUniqueOrigin.size()));
  } else if (StartsWith(key, kRegistration)) {
    // The keys that name a registration's id or version all sort after its REG: key.
    const std::optional<ServiceWorkerRegistration> registration = ParseRegistration(key, value);
    if (!registration) return !(broken_ = true);
    if ((doomed = Doomed(registration->storageKey))) {
      doomedIds_.insert(std::to_string(registration->id));
      doomedVersions_.insert(std::to_string(registration->version));
    }
  } else if (StartsWith(key, kIdToOrigin)) {
    doomed = doomedIds_.count(std::string(key.substr(kIdToOrigin.size()))) > 0;
  } else if (SplitAtNul(key, kHasUserData, first, second)) {
    doomed = doomedIds_.count(std::string(second)) > 0;
  } else if (SplitAtNul(key, kUserData, first, second) || SplitAtNul(key, kResource, first, second)) {
    doomed = (StartsWith(key, kUserData) ? doomedIds_ : doomedVersions_).count(std::string(first)) > 0;
  }
  if (doomed) doomed_.emplace_back(key);
  return true;
}

bool ServiceWorkerClean::Finish(std::vector<std::string>& doomed) {
  doomed = std::move(doomed_);
  return version_ && !broken_;
}

std::optional<CacheStorageIndex> ParseCacheStorageIndex(std::string_view bytes) {
  // CacheStorageIndex: 2 the origin, 3 the storage key.
  const std::optional<std::string_view> origin = ProtoBytes(bytes, 2), storageKey = ProtoBytes(bytes, 3);
  if (!origin) return std::nullopt;
  return CacheStorageIndex{std::string(*origin), std::string(storageKey.value_or(*origin))};
}

std::string SiteOfCacheStorage(std::string_view folderName, const CacheStorageIndex& index) {
  const std::optional<WebOrigin> origin = ParseWebOrigin(index.origin);
  if (!origin || Sha1Hex(OriginIdentifier(*origin)) != folderName) return {};
  return SiteOfStorageKey(index.storageKey);
}

std::optional<std::vector<FileSystemOrigin>> ListFileSystemOrigins(const LevelDbCopy& copy) {
  constexpr std::string_view kOrigin = "ORIGIN:";
  std::vector<FileSystemOrigin> origins;
  bool broken = false;
  const bool read = copy.ForEach({}, [&](std::string_view key, std::string_view value) {
    if (StartsWith(key, kOrigin) && IsDigits(value)) {
      const std::string_view identifier = key.substr(kOrigin.size());
      const std::optional<WebOrigin> origin = ParseOriginIdentifier(identifier);
      if (origin) origins.push_back({std::string(identifier), SiteOfHost(origin->host), std::string(value)});
    } else if (key != "LAST_PATH") {
      broken = true;
    }
    return !broken;
  });
  if (!read || broken) return std::nullopt;
  return origins;
}

bool FileSystemOriginsClean::Visit(std::string_view key, std::string_view value) {
  constexpr std::string_view kOrigin = "ORIGIN:";
  if (StartsWith(key, kOrigin) && IsDigits(value)) {
    const std::optional<WebOrigin> origin = ParseOriginIdentifier(key.substr(kOrigin.size()));
    if (origin && sites_.count(SiteOfHost(origin->host))) doomed_.emplace_back(key);
  } else if (key != "LAST_PATH") {
    broken_ = true;
  }
  return !broken_;
}

bool FileSystemOriginsClean::Finish(std::vector<std::string>& doomed) {
  doomed = std::move(doomed_);
  return !broken_;
}

}  // namespace zarn
