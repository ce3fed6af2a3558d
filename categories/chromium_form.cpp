#include "categories/chromium_form.h"

namespace zarn {

TChromiumForm::TChromiumForm(const ChromiumBrowser& browser)
    : TCategoryForm(browser.form, ChromiumCleanRules()), browser_(browser) {}

CategoryTables TChromiumForm::Tables() { return {.files = ChromiumProfileTables()}; }

void TChromiumForm::Probe() { ProbeChromiumProfiles(*this, browser_.userData); }

}  // namespace zarn
