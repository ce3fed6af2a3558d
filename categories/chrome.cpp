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

}  // namespace

// Chrome keeps its profiles in the local (not roaming) part of the user's profile.
const ChromiumBrowser TChromeForm::kBrowser = {
    "\\Google\\Chrome\\User Data\\", "Software\\Google\\Chrome",
    "Software\\Google\\Update\\Clients\\{8A69D345-D564-463c-AFF1-A69D9E530F96}"};

TChromeForm::TChromeForm() : TChromiumForm(kTraits, kBrowser) {}

}  // namespace zarn
