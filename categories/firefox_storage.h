#pragma once
// Firefox's site data: the origin folders under storage\default (one per origin and
// OriginAttributes suffix: its IndexedDB, Local Storage, caches and files), the cache of
// them in storage.sqlite, and the legacy webappsstore.sqlite, each read as Firefox writes it.
//
// A folder's name is its origin and suffix with each of /:*?"<>|\ turned into '+', which
// loses what stood there: the exact origin and suffix come from the folder's .metadata-v2,
// and a folder is taken only when its name is what they give. Data partitioned under
// another site carries the suffix ^partitionKey=(scheme,site) and belongs to that site.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// What an origin folder's .metadata-v2 says (big-endian: last access, persisted, two
// numbers, then three strings with their lengths: the suffix, the group, the origin with
// the suffix).
struct OriginMetadata {
  std::string origin;  // "http://127.0.0.1:8001", without the suffix
  std::string suffix;  // "", "^userContextId=1", "^partitionKey=%28http%2Cshop.test%29"
};
std::optional<OriginMetadata> ParseOriginMetadata(std::string_view bytes);

// The folder name of an origin with its suffix.
std::string OriginFolderName(std::string_view originWithSuffix);

// The host of the top-level site in a suffix's partitionKey; nothing without one, or for
// a partitionKey that does not parse.
std::optional<std::string> PartitionKeyHost(std::string_view suffix);

// The site of the origin folder `folderName` with this metadata: the partitionKey's site,
// or else the origin's. Empty for an origin that is no web origin (moz-extension, file,
// the browser's own), a partitionKey that does not parse, or a name the metadata does not give.
std::string SiteOfOriginFolder(std::string_view folderName, const OriginMetadata& metadata);

// The host of a webappsstore.sqlite originKey, "moc.elpmaxe.www.:https:443" (the host
// reversed, then its scheme and port); nothing for another form or scheme.
std::optional<std::string> HostOfOriginKey(std::string_view originKey);
// The site of a webappsstore2 row; empty when it has none.
std::string SiteOfWebappsRow(std::string_view originAttributes, std::string_view originKey);

// serviceworker.txt, Firefox's list of service worker registrations: a version line, then
// each registration's lines (its suffix, its scope, its script, …) ending in a line "#".
// Each block keeps its bytes as they stand, line ends included, so that a rewrite without
// some of them leaves the others exactly as Firefox wrote them.
struct ServiceWorkerBlock {
  std::string text;
  std::string site;  // the partitionKey's site, or else the scope's; empty for no web origin
};
struct ServiceWorkerRegistrar {
  std::string head;  // the version line
  std::vector<ServiceWorkerBlock> blocks;
};
// Nothing for a version other than the one whose layout is known (12) or a file that does
// not end its last registration.
std::optional<ServiceWorkerRegistrar> ParseServiceWorkerRegistrar(std::string_view bytes);

// What Firefox itself does to storage.sqlite when its cache of the origins is no longer
// true: it forgets them and marks the cache invalid, and rebuilds it from the folders.
inline constexpr char kInvalidateStorageCacheSql[] = "DELETE FROM origin; UPDATE cache SET valid = 0";

}  // namespace zarn
