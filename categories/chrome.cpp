#include "categories/chrome.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Google Chrome",
    .className = "TChromeForm",
    .title = "Zarn Cleaner - Google Chrome",
    .traceListName = "lvbro",
    .scanButtonName = "chromebtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_CHROME,
};
const CleanRules kClean = {};

// Chrome keeps its profiles in the local (not roaming) part of the user's profile.
const ChromiumBrowser kChrome = {BaseFolder::LocalAppData, "\\Google\\Chrome\\User Data\\", ChromiumProfileFiles()};

}  // namespace

TChromeForm::TChromeForm() : TCategoryForm(kTraits, kClean) {}

void TChromeForm::Probe() { ProbeChromiumProfiles(*this, kChrome); }

}  // namespace zarn
