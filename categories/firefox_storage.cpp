#include "categories/firefox_storage.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "categories/web_origin.h"
#include "traces/site_rule.h"

namespace zarn {
namespace {

bool ReadUint32(std::string_view& in, uint32_t& value) {
  if (in.size() < 4) return false;
  value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(in[i]);
  in.remove_prefix(4);
  return true;
}

bool ReadString(std::string_view& in, std::string_view& text) {
  uint32_t size = 0;
  if (!ReadUint32(in, size) || size > in.size()) return false;
  text = in.substr(0, size);
  in.remove_prefix(size);
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX decoded; nothing for a broken escape.
std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

// The value of parameter `name` of a suffix "^a=1&b=2".
std::optional<std::string_view> SuffixParameter(std::string_view suffix, std::string_view name) {
  if (suffix.empty() || suffix.front() != '^') return std::nullopt;
  suffix.remove_prefix(1);
  while (!suffix.empty()) {
    const size_t amp = suffix.find('&');
    const std::string_view param = suffix.substr(0, amp);
    if (param.size() > name.size() && param.substr(0, name.size()) == name && param[name.size()] == '=')
      return param.substr(name.size() + 1);
    if (amp == std::string_view::npos) break;
    suffix.remove_prefix(amp + 1);
  }
  return std::nullopt;
}

}  // namespace

std::optional<OriginMetadata> ParseOriginMetadata(std::string_view bytes) {
  // Last access (8 bytes), persisted (1), two numbers (4 each).
  constexpr size_t kFixed = 8 + 1 + 4 + 4;
  if (bytes.size() < kFixed) return std::nullopt;
  bytes.remove_prefix(kFixed);
  std::string_view suffix, group, origin;
  if (!ReadString(bytes, suffix) || !ReadString(bytes, group) || !ReadString(bytes, origin)) return std::nullopt;
  // The origin is written with its suffix.
  if (origin.size() < suffix.size() || origin.substr(origin.size() - suffix.size()) != suffix) return std::nullopt;
  origin.remove_suffix(suffix.size());
  if (origin.find('^') != std::string_view::npos) return std::nullopt;
  return OriginMetadata{std::string(origin), std::string(suffix)};
}

std::string OriginFolderName(std::string_view originWithSuffix) {
  std::string name(originWithSuffix);
  for (char& c : name)
    if (std::string_view("/:*?\"<>|\\").find(c) != std::string_view::npos) c = '+';
  return name;
}

std::optional<std::string> PartitionKeyHost(std::string_view suffix) {
  const std::optional<std::string_view> value = SuffixParameter(suffix, "partitionKey");
  if (!value) return std::nullopt;
  // "(scheme,site[,port][,f])", percent-encoded; a ':' of the site (IPv6) written as '+'.
  const std::optional<std::string> key = PercentDecoded(*value);
  if (!key || key->size() < 2 || key->front() != '(' || key->back() != ')') return std::nullopt;
  std::vector<std::string> parts;
  const std::string_view inner = std::string_view(*key).substr(1, key->size() - 2);
  for (size_t start = 0;;) {
    const size_t comma = inner.find(',', start);
    parts.emplace_back(inner.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (parts.size() < 2 || parts.size() > 4 || (parts[0] != "http" && parts[0] != "https") || !IsHostText(parts[1]))
    return std::nullopt;
  std::string host = parts[1];
  if (host.front() == '[') std::replace(host.begin(), host.end(), '+', ':');
  return host;
}

std::string SiteOfOriginFolder(std::string_view folderName, const OriginMetadata& metadata) {
  const std::optional<WebOrigin> origin = ParseWebOrigin(metadata.origin);
  if (!origin || OriginFolderName(metadata.origin + metadata.suffix) != folderName) return {};
  if (SuffixParameter(metadata.suffix, "partitionKey")) {
    const std::optional<std::string> top = PartitionKeyHost(metadata.suffix);
    return top ? SiteOfHost(*top) : std::string();
  }
  return SiteOfHost(origin->host);
}

std::optional<std::string> HostOfOriginKey(std::string_view originKey) {
  const size_t first = originKey.find(':'), second = originKey.find(':', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return std::nullopt;
  const std::string_view scheme = originKey.substr(first + 1, second - first - 1);
  if ((scheme != "http" && scheme != "https") || PortNumber(originKey.substr(second + 1)) == 0) return std::nullopt;
  std::string host(originKey.substr(0, first));
  std::reverse(host.begin(), host.end());
  if (host.empty() || host.front() != '.') return std::nullopt;
  host.erase(0, 1);
  if (!IsHostText(host)) return std::nullopt;
  return host;
}

std::string SiteOfWebappsRow(std::string_view originAttributes, std::string_view originKey) {
  if (SuffixParameter(originAttributes, "partitionKey")) {
    const std::optional<std::string> top = PartitionKeyHost(originAttributes);
    return top ? SiteOfHost(*top) : std::string();
  }
  const std::optional<std::string> host = HostOfOriginKey(originKey);
  return host ? SiteOfHost(*host) : std::string();
}

std::optional<ServiceWorkerRegistrar> ParseServiceWorkerRegistrar(std::string_view bytes) {
  // Lines with their ends; a line's text without them.
  std::vector<std::string_view> lines;
  for (size_t at = 0; at < bytes.size();) {
    const size_t end = bytes.find('\n', at);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    lines.push_back(bytes.substr(at, next - at));
    at = next;
  }
  auto text = [](std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
  };
  if (lines.empty() || text(lines[0]) != "12") return std::nullopt;
  ServiceWorkerRegistrar registrar{std::string(lines[0]), {}};
  size_t first = 1;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (text(lines[i]) != "#") continue;
    // The suffix and the scope at least.
    if (i - first < 2) return std::nullopt;
    ServiceWorkerBlock block;
    for (size_t j = first; j <= i; ++j) block.text += lines[j];
    const std::string_view suffix = text(lines[first]), scope = text(lines[first + 1]);
    if (SuffixParameter(suffix, "partitionKey")) {
      const std::optional<std::string> top = PartitionKeyHost(suffix);
      if (top) block.site = SiteOfHost(*top);
    } else {
      const size_t from = scope.find("://");
      const size_t slash = from == std::string_view::npos ? from : scope.find('/', from + 3);
      const std::optional<WebOrigin> origin =
          slash == std::string_view::npos ? std::nullopt : ParseWebOrigin(scope.substr(0, slash));
      if (origin) block.site = SiteOfHost(origin->host);
    }
    registrar.blocks.push_back(std::move(block));
    first = i + 1;
  }
  if (first != lines.size()) return std::nullopt;
  return registrar;
}

}  // namespace zarn
