#include "categories/chrome.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Google Chrome", "TChromeForm", "Zarn Cleaner - Google Chrome", "lvbro", "chromebtn",
                            StatusFamily::A, "", "File Name", 437, false, false, IDI_CAT_CHROME};
const CleanRules kClean = {};

// Chrome keeps its profiles in the local (not roaming) part of the user's profile.
const ChromiumBrowser kChrome = {BaseFolder::LocalAppData, "\\Google\\Chrome\\User Data\\",
                                 ChromiumProfileFiles()};

}  // namespace

TChromeForm::TChromeForm() : TCategoryForm(kTraits, kClean) {}

void TChromeForm::Probe() { ProbeChromiumProfiles(*this, kChrome); }

}  // namespace zarn
