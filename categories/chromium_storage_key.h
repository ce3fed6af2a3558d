#pragma once
// How the Chromium browsers name whose site data a store holds: inside a database by the
// storage key (the origin, and the top-level site when the data is partitioned under
// another site), in a folder name by the origin identifier ("https_www.example.com_0").
// Only web origins (http and https) are sites: an extension's, an isolated app's, the
// browser's own pages, file: and opaque origins never are.
#include <optional>
#include <string>
#include <string_view>

#include "categories/web_origin.h"

namespace zarn {

// A storage key, as the stores write it (StorageKey::Serialize(), or for Local Storage the
// first-party form without the origin's slash).
struct StorageKey {
  enum class Kind {
    FirstParty,         // "https://a.example/"
    Partitioned,        // "https://embed.example/^0https://top.example": under another site
    CrossSiteAncestor,  // "https://a.example/^31": its own top-level site, a foreign frame between
    Nonce,              // "https://a.example/^1<high>^2<low>": a fenced frame's, transient
    OpaqueTopLevel,     // "https://a.example/^4<high>^5<low>^6<precursor>": under an opaque page
  };
  Kind kind = Kind::FirstParty;
  WebOrigin origin;
  std::string topLevelHost;  // Partitioned: the host of the top-level site
};

// Nothing for a key of another scheme (chrome-extension://, chrome://, isolated-app://,
// file://) or one that is not a storage key.
std::optional<StorageKey> ParseStorageKey(std::string_view text);

// The site whose item holds a storage key's data: the origin's, or for partitioned data the
// top-level site's. Empty for an opaque top-level page, which is no site.
std::string SiteOfStorageKey(const StorageKey& key);
// The same for a stored text: empty for what ParseStorageKey refuses.
std::string SiteOfStorageKey(std::string_view text);

// "https_www.example.com_0", "http_[__1]_8080": the origin an identifier names; nothing
// for "file__0", an opaque origin "__0" or any other scheme.
std::optional<WebOrigin> ParseOriginIdentifier(std::string_view identifier);
std::string OriginIdentifier(const WebOrigin& origin);

// The origin of a folder under IndexedDB: "<identifier>.indexeddb.leveldb" (the database),
// "<identifier>.indexeddb.blob" (its large values), or "<identifier>" alone (the SQLite form).
std::optional<WebOrigin> IndexedDbOriginOf(std::string_view folderName);

}  // namespace zarn
