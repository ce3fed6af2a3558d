#include "categories/chromium_form.h"

namespace zarn {
namespace {

const CleanRules kClean = {.databases = ChromiumDatabases()};

}  // namespace

TChromiumForm::TChromiumForm(const FormTraits& traits, const ChromiumBrowser& browser)
    : TCategoryForm(traits, kClean), browser_(browser) {}

CategoryTables TChromiumForm::Tables() { return {.files = ChromiumProfileTables()}; }

void TChromiumForm::Probe() { ProbeChromiumProfiles(*this, browser_); }

}  // namespace zarn
