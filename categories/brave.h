#pragma once
#include "categories/chromium_form.h"

namespace zarn {

// The "Brave" category.
class TBraveForm : public TChromiumForm {
 public:
  TBraveForm();

  // Where the browser keeps its profiles, and the signs that it is installed.
  static const ChromiumBrowser kBrowser;
};

}  // namespace zarn
