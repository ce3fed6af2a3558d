#pragma once
// The Chromium-based browsers that keep their profiles in one User Data folder below the
// local part of the user's profile, one row each. The row is all that tells one from
// another: its form, its catalogue row and its scan are made from it.
#include <span>

#include "traces/category_form.h"

namespace zarn {

struct ChromiumBrowser {
  // Page 1's caption (the wizard's dispatch key), the window class, title, hidden scan
  // button and icon of its form.
  FormTraits form;
  const char* description;  // page 1's description
  const char* userData;     // below Local AppData; starts and ends with a backslash
  const char* userKey;      // the browser's key under the current user
  const char* updaterKey;   // its updater's key under the local machine, 32-bit view; or none
};

// Every such browser, in the order page 1 offers them and start-up makes their forms.
std::span<const ChromiumBrowser> ChromiumBrowsers();

}  // namespace zarn
