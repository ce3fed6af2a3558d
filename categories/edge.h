#pragma once
#include "categories/chromium_profile.h"
#include "traces/category_form.h"

namespace zarn {

// The "Microsoft Edge" category.
class TEdgeForm : public TCategoryForm {
 public:
  TEdgeForm();

  // Where the browser keeps its profiles, and the signs that it is installed.
  static const ChromiumBrowser kBrowser;
  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;
};

}  // namespace zarn
