#include "traces/site_rule.h"

#include <libpsl.h>

#include <algorithm>

namespace zarn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }
bool AllOf(std::string_view text, bool (*pred)(char)) { return !text.empty() && std::all_of(text.begin(), text.end(), pred); }

// A host name as DNS and the browsers' canonical form have it: labels of 1 to 63 letters,
// digits, '-' or '_' (lower case by now), 253 bytes at most. libpsl is given nothing else.
bool IsPlainHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  size_t label = 0;
  for (char c : host) {
    if (c == '.') {
      if (label == 0) return false;
      label = 0;
    } else if ((c >= 'a' && c <= 'z') || IsDigit(c) || c == '-' || c == '_') {
      if (++label > 63) return false;
    } else {
      return false;
    }
  }
  return label > 0;
}

// An IPv6 address as text: hex digits and colons (two at least), and an IPv4 tail.
bool IsIpv6Text(std::string_view text) {
  return std::count(text.begin(), text.end(), ':') >= 2 &&
         std::all_of(text.begin(), text.end(), [](char c) { return IsHex(c) || c == ':' || c == '.'; });
}

// ":8080", the port after a host.
bool IsPort(std::string_view text) {
  return text.size() >= 2 && text.size() <= 6 && text[0] == ':' && AllOf(text.substr(1), IsDigit);
}

// "host:port": the host alone. Anything else as it is.
std::string_view WithoutPort(std::string_view host) {
  const size_t colon = host.find(':');
  return colon != std::string_view::npos && IsPort(host.substr(colon)) ? host.substr(0, colon) : host;
}

}  // namespace

std::string SiteOfHost(std::string_view stored) {
  while (!stored.empty() && stored.front() == '.') stored.remove_prefix(1);
  if (stored.empty()) return {};
  // Host names are the same in any case; what is not a host name keeps its bytes.
  std::string host(stored);
  for (char& c : host)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const std::string asStored(stored);

  // IPv6: "[::1]", "[::1]:8080" and "::1" are one site, written as a URL writes it.
  if (host.front() == '[') {
    const size_t close = host.find(']');
    if (close == std::string::npos || !IsIpv6Text(std::string_view(host).substr(1, close - 1))) return asStored;
    const std::string_view rest = std::string_view(host).substr(close + 1);
    return rest.empty() || IsPort(rest) ? host.substr(0, close + 1) : asStored;
  }
  if (IsIpv6Text(host)) return "[" + host + "]";

  // A trailing dot makes a name's root explicit; it is kept, as the browsers keep it.
  std::string_view name = WithoutPort(host);
  const bool trailingDot = name.size() > 1 && name.back() == '.';
  if (trailingDot) name.remove_suffix(1);
  if (!IsPlainHostName(name)) return asStored;

  // An IPv4 address (its last label a number, which no top-level domain is) is its own site:
  // libpsl would cut it to its last two numbers. For a single label and for a public suffix
  // itself libpsl gives NULL: the host is its own site.
  std::string site(name);
  const size_t lastDot = name.rfind('.');
  if (!AllOf(name.substr(lastDot == std::string_view::npos ? 0 : lastDot + 1), IsDigit)) {
    if (const char* registrable = psl_registrable_domain(psl_builtin(), site.c_str())) site = registrable;
  }
  if (trailingDot) site.push_back('.');
  return site;
}

}  // namespace zarn
