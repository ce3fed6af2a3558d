#include "categories/chromium_dom_storage.h"

#include <algorithm>
#include <map>

#include "categories/chromium_storage_key.h"

namespace zarn {
namespace {

constexpr std::string_view kLocalVersion = "VERSION", kSessionVersion = "version";
// The one version of both stores that the browsers write, and so the one a clean keeps.
constexpr std::string_view kVersionOne = "1";

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// "namespace-<36 characters>-<storage key>": the storage key.
std::optional<std::string_view> SessionAreaKeyOf(std::string_view key) {
  constexpr std::string_view kPrefix = "namespace-";
  constexpr size_t kIdLength = 36;
  if (!StartsWith(key, kPrefix) || key.size() <= kPrefix.size() + kIdLength + 1 ||
      key[kPrefix.size() + kIdLength] != '-')
    return std::nullopt;
  return key.substr(kPrefix.size() + kIdLength + 1);
}

// "map-<number>-<script key>": the number.
std::optional<std::string_view> MapNumberOf(std::string_view key) {
  constexpr std::string_view kPrefix = "map-";
  if (!StartsWith(key, kPrefix)) return std::nullopt;
  const size_t dash = key.find('-', kPrefix.size());
  const std::string_view number = key.substr(kPrefix.size(), dash - kPrefix.size());
  if (dash == std::string_view::npos || number.empty() ||
      !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return number;
}

// The areas of `byKey` that are sites' own, in storage-key order.
std::vector<StorageArea> WebAreas(std::map<std::string, size_t, std::less<>>& byKey) {
  std::vector<StorageArea> areas;
  areas.reserve(byKey.size());
  for (auto& [storageKey, entries] : byKey) {
    std::string site = SiteOfStorageKey(storageKey);
    if (!site.empty()) areas.push_back({storageKey, std::move(site), entries});
  }
  return areas;
}

}  // namespace

std::optional<std::string_view> LocalStorageKeyOf(std::string_view key) {
  for (std::string_view prefix : {"META:", "METAACCESS:"})
    if (StartsWith(key, prefix)) return key.substr(prefix.size());
  if (StartsWith(key, "_")) {
    const size_t nul = key.find('\0');
    if (nul != std::string_view::npos && nul > 1) return key.substr(1, nul - 1);
  }
  return std::nullopt;
}

std::optional<std::vector<StorageArea>> ListLocalStorage(const LevelDbCopy& copy) {
  std::map<std::string, size_t, std::less<>> byKey;
  bool version = false;
  auto last = byKey.end();
  const bool read = copy.ForEach({}, [&](std::string_view key, std::string_view value) {
    if (key == kLocalVersion) version = value == kVersionOne;
    const std::optional<std::string_view> storageKey = LocalStorageKeyOf(key);
    if (!storageKey) return true;
    // A store's keys come in runs of one storage key: the last one found is looked up first.
    if (last == byKey.end() || last->first != *storageKey) last = byKey.try_emplace(std::string(*storageKey), 0).first;
    if (key.front() == '_') ++last->second;
    return true;
  });
  if (!read || !version) return std::nullopt;
  return WebAreas(byKey);
}

std::optional<std::vector<StorageArea>> ListSessionStorage(const LevelDbCopy& copy) {
  std::unordered_map<std::string, size_t> mapEntries;
  std::map<std::string, std::set<std::string>, std::less<>> mapsOf;  // storage key -> its maps
  bool version = false;
  const bool read = copy.ForEach({}, [&](std::string_view key, std::string_view value) {
    if (key == kSessionVersion) version = value == kVersionOne;
    if (const auto number = MapNumberOf(key)) {
      ++mapEntries[std::string(*number)];
    } else if (const auto storageKey = SessionAreaKeyOf(key)) {
      mapsOf[std::string(*storageKey)].emplace(value);
    }
    return true;
  });
  if (!read || !version) return std::nullopt;
  std::map<std::string, size_t, std::less<>> byKey;
  for (const auto& [storageKey, maps] : mapsOf) {
    size_t& entries = byKey[storageKey];
    for (const std::string& map : maps) entries += mapEntries.count(map) ? mapEntries[map] : 0;
  }
  return WebAreas(byKey);
}

bool LocalStorageClean::Visit(std::string_view key, std::string_view value) {
  if (key == kLocalVersion) version_ = value == kVersionOne;
  const std::optional<std::string_view> storageKey = LocalStorageKeyOf(key);
  if (!storageKey) return true;
  if (*storageKey != runKey_) {
    runKey_ = *storageKey;
    auto found = doomedKey_.find(*storageKey);
    if (found == doomedKey_.end()) {
      const std::string site = SiteOfStorageKey(*storageKey);
      found = doomedKey_.emplace(runKey_, !site.empty() && sites_.count(site) > 0).first;
    }
    runDoomed_ = found->second;
  }
  if (runDoomed_) doomed_.emplace_back(key);
  return true;
}

bool LocalStorageClean::Finish(std::vector<std::string>& doomed) {
  doomed = std::move(doomed_);
  return version_;
}

bool SessionStorageClean::Visit(std::string_view key, std::string_view value) {
  if (key == kSessionVersion) version_ = value == kVersionOne;
  if (const auto number = MapNumberOf(key)) {
    mapKeys_[std::string(*number)].emplace_back(key);
  } else if (const auto storageKey = SessionAreaKeyOf(key)) {
    const std::string site = SiteOfStorageKey(*storageKey);
    if (!site.empty() && sites_.count(site)) {
      doomedAreas_.emplace_back(key);
      doomedMaps_.emplace(value);
    } else {
      keptMaps_.emplace(value);
    }
  }
  return true;
}

bool SessionStorageClean::Finish(std::vector<std::string>& doomed) {
  doomed = std::move(doomedAreas_);
  for (const std::string& map : doomedMaps_) {
    if (keptMaps_.count(map)) continue;
    auto keys = mapKeys_.find(map);
    if (keys != mapKeys_.end()) doomed.insert(doomed.end(), keys->second.begin(), keys->second.end());
  }
  return version_;
}

}  // namespace zarn
