#pragma once
// SHA-1 of some bytes, by the system's own cryptographic provider: Chromium names the
// folder of a site's caches by the hash of the site's origin identifier.
#include <string>
#include <string_view>

namespace zarn {

// The digest in lower-case hex (40 characters); empty if the provider is not available.
std::string Sha1Hex(std::string_view bytes);

}  // namespace zarn
