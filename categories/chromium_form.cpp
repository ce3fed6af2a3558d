#include "categories/chromium_form.h"

namespace zarn {

TChromiumForm::TChromiumForm(const FormTraits& traits, const ChromiumBrowser& browser)
    : TCategoryForm(traits, ChromiumCleanRules()), browser_(browser) {}

CategoryTables TChromiumForm::Tables() { return {.files = ChromiumProfileTables()}; }

void TChromiumForm::Probe() { ProbeChromiumProfiles(*this, browser_); }

}  // namespace zarn
