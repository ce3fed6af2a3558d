#pragma once
// The category catalogue: which categories page 1 offers, and in which order.
#include <string>
#include <vector>

namespace zarn {

struct CatalogueRow {
  std::string caption;
  std::string description;
};

// Runs the installation probes and returns the offered rows in their fixed order: the
// three categories that are always offered, then each installed one.
std::vector<CatalogueRow> BuildCatalogue();

}  // namespace zarn
