#pragma once
#include "categories/chromium_profile.h"
#include "traces/category_form.h"

namespace zarn {

// The form of a Chromium-based browser that keeps its profiles in one User Data folder below
// the local part of the user's profile (Chrome, Edge, Brave, Vivaldi). Every profile is
// read through the one profile table; a browser's own form names only its traits and where
// it keeps its profiles.
class TChromiumForm : public TCategoryForm {
 public:
  TChromiumForm(const FormTraits& traits, const ChromiumBrowser& browser);

  // Where the browser keeps its profiles, and the signs that it is installed.
  const ChromiumBrowser& Browser() const { return browser_; }
  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

 protected:
  void Probe() override;

 private:
  const ChromiumBrowser& browser_;
};

}  // namespace zarn
