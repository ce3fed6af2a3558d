#pragma once
// The few fields the cleaner reads from the browsers' protocol-buffer records (a service
// worker's registration, the index of a site's caches): the top-level fields of a message,
// by number, without its schema. A record that does not parse gives nothing.
#include <cstdint>
#include <optional>
#include <string_view>

namespace zarn {

// The first field `number` of `message` as a varint, or as length-delimited bytes.
std::optional<uint64_t> ProtoVarint(std::string_view message, uint32_t number);
std::optional<std::string_view> ProtoBytes(std::string_view message, uint32_t number);

}  // namespace zarn
