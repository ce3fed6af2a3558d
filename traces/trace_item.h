#pragma once
// One found trace: a tick and five texts, as shown in a category form's trace list.
#include <string>
#include <string_view>

namespace zarn {

// The Type text that marks a registry trace; every other Type marks a file trace.
inline constexpr std::string_view kRegistryData = "Registry Data";

struct TraceItem {
  std::string name;      // "File Name": file, value or subkey name
  std::string location;  // "File Location": folder ending in "\", or "HKCU"/"HKLM" + key path
  std::string type;      // "File Type"
  std::string info;      // "File Info"
  std::string size;      // "File Size"; empty for registry traces

  bool IsRegistry() const { return type == kRegistryData; }
};

}  // namespace zarn
