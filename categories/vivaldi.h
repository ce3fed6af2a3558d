#pragma once
#include "categories/chromium_form.h"

namespace zarn {

// The "Vivaldi" category.
class TVivaldiForm : public TChromiumForm {
 public:
  TVivaldiForm();

  // Where the browser keeps its profiles, and the signs that it is installed.
  static const ChromiumBrowser kBrowser;
};

}  // namespace zarn
