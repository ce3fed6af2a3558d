#include "categories/chromium_storage_key.h"

#include <algorithm>

#include "traces/site_rule.h"

namespace zarn {
namespace {

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "^1<high>^2<low>", the two halves of a nonce or an opaque page's token.
bool IsToken(std::string_view text, char first, char second) {
  if (text.size() < 4 || text[0] != '^' || text[1] != first) return false;
  const size_t next = text.find('^', 2);
  return next != std::string_view::npos && IsDigits(text.substr(2, next - 2)) && text.size() > next + 2 &&
         text[next + 1] == second && IsDigits(text.substr(next + 2));
}

}  // namespace

std::optional<StorageKey> ParseStorageKey(std::string_view text) {
  StorageKey key;
  const size_t caret = text.find('^');
  if (caret == std::string_view::npos) {
    std::optional<WebOrigin> origin = ParseWebOrigin(text);
    if (!origin) return std::nullopt;
    key.origin = std::move(*origin);
    return key;
  }
  // Past the origin, in the form with its slash, come the parts after '^'.
  const std::string_view first = text.substr(0, caret), rest = text.substr(caret);
  std::optional<WebOrigin> origin = first.size() > 1 && first.back() == '/' ? ParseWebOrigin(first) : std::nullopt;
  if (!origin) return std::nullopt;
  key.origin = std::move(*origin);
  if (rest.substr(0, 2) == "^0") {
    // The top-level site: a scheme and a host, no port and no path.
    const std::optional<WebOrigin> top = ParseWebOrigin(rest.substr(2));
    if (!top || top->port != 0 || rest.back() == '/') return std::nullopt;
    key.kind = StorageKey::Kind::Partitioned;
    key.topLevelHost = top->host;
  } else if (rest == "^31") {
    key.kind = StorageKey::Kind::CrossSiteAncestor;
  } else if (IsToken(rest, '1', '2')) {
    key.kind = StorageKey::Kind::Nonce;
  } else if (rest.substr(0, 2) == "^4") {
    const size_t precursor = rest.find("^6");
    if (precursor == std::string_view::npos || !IsToken(rest.substr(0, precursor), '4', '5') ||
        precursor + 2 == rest.size())
      return std::nullopt;
    key.kind = StorageKey::Kind::OpaqueTopLevel;
  } else {
    return std::nullopt;
  }
  return key;
}

std::string SiteOfStorageKey(const StorageKey& key) {
  switch (key.kind) {
    case StorageKey::Kind::Partitioned: return SiteOfHost(key.topLevelHost);
    case StorageKey::Kind::OpaqueTopLevel: return {};
    default: return SiteOfHost(key.origin.host);
  }
}

std::string SiteOfStorageKey(std::string_view text) {
  const std::optional<StorageKey> key = ParseStorageKey(text);
  return key ? SiteOfStorageKey(*key) : std::string();
}

std::optional<WebOrigin> ParseOriginIdentifier(std::string_view identifier) {
  const size_t first = identifier.find('_'), last = identifier.rfind('_');
  if (first == std::string_view::npos || last <= first + 1) return std::nullopt;
  WebOrigin origin;
  origin.scheme = identifier.substr(0, first);
  if (origin.scheme != "http" && origin.scheme != "https") return std::nullopt;
  const std::string_view port = identifier.substr(last + 1);
  if (port != "0") {
    origin.port = PortNumber(port);
    if (origin.port == 0) return std::nullopt;
  }
  origin.host = identifier.substr(first + 1, last - first - 1);
  // IPv6: "[__1]" for "[::1]".
  if (origin.host.front() == '[') std::replace(origin.host.begin(), origin.host.end(), '_', ':');
  if (!IsHostText(origin.host)) return std::nullopt;
  return origin;
}

std::optional<WebOrigin> IndexedDbOriginOf(std::string_view folderName) {
  for (std::string_view end : {".indexeddb.leveldb", ".indexeddb.blob"}) {
    if (folderName.size() > end.size() && folderName.substr(folderName.size() - end.size()) == end)
      return ParseOriginIdentifier(folderName.substr(0, folderName.size() - end.size()));
  }
  return ParseOriginIdentifier(folderName);
}

std::string OriginIdentifier(const WebOrigin& origin) {
  std::string host = origin.host;
  if (!host.empty() && host.front() == '[') std::replace(host.begin(), host.end(), ':', '_');
  return origin.scheme + "_" + host + "_" + std::to_string(origin.port);
}

}  // namespace zarn
