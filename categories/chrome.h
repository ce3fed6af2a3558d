#pragma once
#include "categories/chromium_form.h"

namespace zarn {

// The "Google Chrome" category.
class TChromeForm : public TChromiumForm {
 public:
  TChromeForm();

  // Where the browser keeps its profiles, and the signs that it is installed.
  static const ChromiumBrowser kBrowser;
};

}  // namespace zarn
