#pragma once
// The cookie database of the benchmark: 20,000 cookies over 4,000 sites, listed and cleaned
// site by site, beside a bare query and a bare DELETE of the same rows.
#include <string>

namespace zarn::bench {

struct CookieFigures {
  size_t sites = 0, cookies = 0;
  double bareQuery = 0, scan = 0, scanIntoList = 0;  // ms, medians
  double bareDelete = 0, clean = 0;
};

// Works in `folder` (made if missing); each figure the median of `runs`.
CookieFigures MeasureCookies(const std::string& folder, int runs);

}  // namespace zarn::bench
