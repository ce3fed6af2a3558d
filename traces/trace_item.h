#pragma once
// One found trace: a tick and five texts, as shown in a category form's trace list.
#include <string>
#include <string_view>

namespace zarn {

class StoreKind;

// The Type texts that mark a registry trace and a trace inside a database; every other Type
// marks a file trace (a file's Type is its extension, which begins with a dot).
inline constexpr std::string_view kRegistryData = "Registry Data";
inline constexpr std::string_view kDatabaseRows = "Database Rows";

struct TraceItem {
  std::string name;      // "File Name": file, value or subkey name, or what the rows are of
  // "File Location": folder ending in "\", "HKCU"/"HKLM" + key path, or a database's full path
  std::string location;
  std::string type;      // "File Type"
  std::string info;      // "File Info"
  std::string size;      // "File Size"; empty for registry traces, a count of rows in a database
  // Not shown: for an item that stands for parts of a store (rows of a database), the kind of
  // store it is, and the base folder its scan started from, below which the clean follows no
  // link either.
  const StoreKind* store = nullptr;
  std::string base = {};

  bool IsRegistry() const { return type == kRegistryData; }
  bool IsDatabaseRows() const { return type == kDatabaseRows; }
};

}  // namespace zarn
