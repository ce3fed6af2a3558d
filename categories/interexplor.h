#pragma once
#include <span>
#include <string>
#include <string_view>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "Internet Explorer" category: listed sites' cookies, the cached documents, typed
// addresses and the remembered download folder.
class TInterForm : public TCategoryForm {
 public:
  TInterForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

  // Every clean ends by emptying the URL cache, also when nothing was ticked.
  void AfterClean() override;

 protected:
  void Probe() override;

 private:
  void ProbeCache();
  void WalkCache(const std::string& folder, int level);
};

// The cookie keywords in the order they are tested, and whether a cookie file's name
// holds one of them (case-sensitive).
std::span<const char* const> CookieKeywords();
bool HasCookieKeyword(std::string_view name);

// Deletes every content entry of the internet library's URL cache. Cookie and history
// entries stay. Reports nothing.
void ClearUrlCache();

// The category's reach, for the benchmark's reference scans.
std::span<const FileLocation> InterCookies();
std::span<const RegistryRow> InterBrowserKeys();
std::span<const RegistryRow> InterTodaysBrowserKeys();

}  // namespace zarn
