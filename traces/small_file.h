#pragma once
// The whole of a small file a store keeps beside its data (an index, a folder's metadata),
// read through no link.
#include <string>

namespace zarn {

// The bytes of the plain file at `path`, of at most 1 MiB; false when it is not there, is a
// link or larger, or does not read to its end.
bool ReadSmallFile(const std::string& path, std::string& bytes);

// Puts `bytes` in the place of the file at `path` at once: written whole to a new file beside
// it, then moved over it, so that a stop or crash leaves the old file or the new one. False,
// with the old file as it was, when any step fails.
bool ReplaceSmallFile(const std::string& path, const std::string& bytes);

}  // namespace zarn
