#pragma once
#include "categories/chromium_form.h"

namespace zarn {

// The "Microsoft Edge" category.
class TEdgeForm : public TChromiumForm {
 public:
  TEdgeForm();

  // Where the browser keeps its profiles, and the signs that it is installed.
  static const ChromiumBrowser kBrowser;
};

}  // namespace zarn
