#include "categories/protobuf_fields.h"

namespace zarn {
namespace {

bool ReadVarint(std::string_view& in, uint64_t& value) {
  value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (in.empty()) return false;
    const auto byte = static_cast<unsigned char>(in.front());
    in.remove_prefix(1);
    value |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if (!(byte & 0x80)) return true;
  }
  return false;
}

// Finds field `number` and leaves `in` at its value; its wire type in `type`.
bool Seek(std::string_view& in, uint32_t number, uint32_t& type) {
  while (!in.empty()) {
    uint64_t tag = 0, skip = 0;
    if (!ReadVarint(in, tag)) return false;
    type = static_cast<uint32_t>(tag & 7);
    if ((tag >> 3) == number) return true;
    switch (type) {
      case 0:
        if (!ReadVarint(in, skip)) return false;
        break;
      case 1: skip = 8; break;
      case 5: skip = 4; break;
      case 2:
        if (!ReadVarint(in, skip)) return false;
        break;
      default: return false;  // groups are not written by today's encoders
    }
    if (type != 0) {
      if (skip > in.size()) return false;
      in.remove_prefix(static_cast<size_t>(skip));
    }
  }
  return false;
}

}  // namespace

std::optional<uint64_t> ProtoVarint(std::string_view message, uint32_t number) {
  uint32_t type = 0;
  uint64_t value = 0;
  if (!Seek(message, number, type) || type != 0 || !ReadVarint(message, value)) return std::nullopt;
  return value;
}

std::optional<std::string_view> ProtoBytes(std::string_view message, uint32_t number) {
  uint32_t type = 0;
  uint64_t size = 0;
  if (!Seek(message, number, type) || type != 2 || !ReadVarint(message, size) || size > message.size())
    return std::nullopt;
  return message.substr(0, static_cast<size_t>(size));
}

}  // namespace zarn
