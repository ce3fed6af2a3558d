#include "categories/web_origin.h"

#include <algorithm>
#include <charconv>

namespace zarn {
namespace {

int DefaultPort(std::string_view scheme) { return scheme == "https" ? 443 : 80; }

}  // namespace

int PortNumber(std::string_view text) {
  int port = 0;
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  std::from_chars(text.data(), text.data() + text.size(), port);
  return port <= 65535 ? port : 0;
}

bool IsHostText(std::string_view host) {
  return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
    return c == '/' || c == '?' || c == '#' || c == '^' || c == '\\' || c == '@' || static_cast<unsigned char>(c) <= ' ';
  });
}

std::optional<WebOrigin> ParseWebOrigin(std::string_view text) {
  WebOrigin origin;
  for (const char* scheme : {"http", "https"}) {
    const std::string prefix = std::string(scheme) + "://";
    if (text.substr(0, prefix.size()) == prefix) {
      origin.scheme = scheme;
      text.remove_prefix(prefix.size());
    }
  }
  if (origin.scheme.empty()) return std::nullopt;
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  // "[::1]:8080" or "host:8080": the port after the host's last colon.
  const size_t close = text.front() == '[' ? text.find(']') : 0;
  if (close == std::string_view::npos) return std::nullopt;
  const size_t colon = text.find(':', close);
  std::string_view host = text.substr(0, colon);
  if (colon != std::string_view::npos) {
    origin.port = PortNumber(text.substr(colon + 1));
    if (origin.port == 0) return std::nullopt;
    if (origin.port == DefaultPort(origin.scheme)) origin.port = 0;
  }
  if (!IsHostText(host) || (close != 0 && close + 1 != host.size())) return std::nullopt;
  origin.host = host;
  return origin;
}

}  // namespace zarn
