// The site rule: which site a stored host belongs to, for well-formed hosts of every kind
// the Public Suffix List knows, for addresses and single labels, and for input no browser
// writes but a damaged or hand-made store may hold.
#include <gtest/gtest.h>

#include <string>

#include "traces/site_rule.h"

using zarn::SiteOfHost;

namespace {

TEST(SiteRuleTest, EachHostBelongsToItsSite) {
  const std::string nul("nul\0host.net", 12), huge(10000, 'h'), longLabel(64, 'a');
  const std::string quote = "o'ne\"il.com'); DELETE FROM cookies; --";
  const struct {
    std::string host, site;
  } cases[] = {
      // Registrable domains, with the list's ICANN and private sections, wildcards and exceptions.
      {"example.com", "example.com"},
      {".example.com", "example.com"},
      {"...example.com", "example.com"},
      {"www.example.com", "example.com"},
      {"WWW.Example.COM", "example.com"},
      {"_dmarc.mail.example.com", "example.com"},
      {"mail.example.co.uk", "example.co.uk"},
      {"alice.github.io", "alice.github.io"},
      {"x.alice.github.io", "alice.github.io"},
      {"a.b.blogspot.com", "b.blogspot.com"},
      {"a.b.ck", "a.b.ck"},      // *.ck: every name under ck is a suffix ...
      {"x.www.ck", "www.ck"},    // ... but www.ck
      {"www.shop.test", "shop.test"},  // a top-level domain the list lacks is one label
      {"www.xn--bcher-kva.de", "xn--bcher-kva.de"},
      {"www.example.com:443", "example.com"},
      {"www.example.com.", "example.com."},
      // Their own sites: a suffix itself, a single label, addresses.
      {"co.uk", "co.uk"},
      {"github.io", "github.io"},
      {"localhost", "localhost"},
      {"localhost.", "localhost."},
      {huge, huge},
      {"127.0.0.1", "127.0.0.1"},
      {"192.168.1.1", "192.168.1.1"},
      {"127.0.0.1:8001", "127.0.0.1"},
      {"1.2.3", "1.2.3"},
      {"[::1]", "[::1]"},
      {"::1", "[::1]"},
      {"[::1]:8080", "[::1]"},
      {"[2001:DB8::1]", "[2001:db8::1]"},
      {"::ffff:127.0.0.1", "[::ffff:127.0.0.1]"},
      // Not host names: each its own site, byte for byte.
      {nul, nul},
      {quote, quote},
      {"b\xC3\xBC" "cher.de", "b\xC3\xBC" "cher.de"},
      {"a..b.com", "a..b.com"},
      {longLabel + ".com", longLabel + ".com"},
      {"Host With Space.COM", "Host With Space.COM"},
      {"[::1", "[::1"},
      {"[::1]x", "[::1]x"},
      {"[::1]:X", "[::1]:X"},
      {"[www.example.com]", "[www.example.com]"},
      {"example.com:http", "example.com:http"},
      // Nothing.
      {"", ""},
      {".", ""},
      {"..", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SiteOfHost(c.host), c.site) << "host '" << c.host << "'";
}

}  // namespace
