#pragma once
#include "categories/chromium_browsers.h"
#include "categories/chromium_profile.h"
#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The form of one row of the Chromium browsers' table. Every profile is read through the
// one profile table; the row names the form's traits and where the browser keeps its
// profiles.
class TChromiumForm : public TCategoryForm {
 public:
  explicit TChromiumForm(const ChromiumBrowser& browser);

  const ChromiumBrowser& Browser() const { return browser_; }
  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;

 private:
  const ChromiumBrowser& browser_;
};

}  // namespace zarn
