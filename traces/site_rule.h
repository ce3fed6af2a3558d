#pragma once
// The site a stored host belongs to, as the browsers group a user's data in their own
// settings: the registrable domain by the Public Suffix List, its private section included
// ("www.example.co.uk" and "mail.example.co.uk" are "example.co.uk"; "alice.github.io" and
// "bob.github.io" are two sites). Every store's host comes through this one rule, so that
// a site's cookies and its storage make one item whichever store they come from; the
// stores' own formats (an origin, a storage key, an origin folder) give the host whose site
// it is, the top-level site's host for data partitioned under it.
#include <string>
#include <string_view>

namespace zarn {

// The site of `host`, in lower case when it is a host name:
//   - leading dots go (a cookie of the domain ".example.com" is example.com's), and a port;
//   - an IP address is its own site ("127.0.0.1", and "[::1]" with or without brackets),
//     as is a name of one label ("localhost"), a public suffix itself ("co.uk") and a host
//     the list cannot shorten;
//   - a name that is not a plain host name (other characters than letters, digits, '-' and
//     '_', an empty or over-long label, non-ASCII letters) is its own site byte for byte,
//     so that it is still listed and cleaned by its exact bytes;
//   - a trailing dot is kept: "example.com." is another name than "example.com".
// Empty when the host names nothing ("", ".", "..").
std::string SiteOfHost(std::string_view host);

}  // namespace zarn
