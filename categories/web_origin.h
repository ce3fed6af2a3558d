#pragma once
// A web origin as the browsers store it, "https://www.example.com" or "http://127.0.0.1:8001":
// only http and https origins are sites. An extension's, the browser's own pages, file: and
// opaque origins never are.
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// Port 0 stands for the scheme's default.
struct WebOrigin {
  std::string scheme;  // "http" or "https"
  std::string host;    // as stored: lower case, punycode, "[::1]" for IPv6
  int port = 0;
};

// The origin, written with or without its last slash; nothing for another scheme, a path
// or a host with characters no origin has.
std::optional<WebOrigin> ParseWebOrigin(std::string_view text);

// A port of 1 to 65535; 0 for anything else.
int PortNumber(std::string_view digits);
// Characters that may stand in an origin's host as the stores write it (the site rule
// judges the rest).
bool IsHostText(std::string_view host);

}  // namespace zarn
