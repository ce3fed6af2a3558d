#pragma once
// The whole of a small file a store keeps beside its data (an index, a folder's metadata),
// read through no link.
#include <string>

namespace zarn {

// The bytes of the plain file at `path`, of at most 1 MiB; false when it is not there, is a
// link or larger, or does not read to its end.
bool ReadSmallFile(const std::string& path, std::string& bytes);

}  // namespace zarn
