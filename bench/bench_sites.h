#pragma once
// A Chromium profile of 1,000 sites, each with cookies, Local Storage and an IndexedDB origin:
// listed as one item per site and half of the sites cleaned, beside a bare read and bare
// deletes of the same stores, rows, keys and folders.
#include <string>

namespace zarn::bench {

struct SiteFigures {
  size_t sites = 0, cleaned = 0;
  double bareList = 0, list = 0;    // ms, medians
  double bareClean = 0, clean = 0;
};

// Works in `folder` (made if missing); each figure the median of `runs`.
SiteFigures MeasureSites(const std::string& folder, int runs);

}  // namespace zarn::bench
