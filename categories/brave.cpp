#include "categories/brave.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Brave",
    .className = "TBraveForm",
    .title = "Zarn Cleaner - Brave",
    .traceListName = "lvbro",
    .scanButtonName = "bravebtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_BRAVE,
};

}  // namespace

// Brave keeps its profiles where Chrome does, under its maker's folder. Its wallet and
// rewards data lie beside the traces and no row names them. It is known by its folder and
// its user key alone: no updater key is looked for.
const ChromiumBrowser TBraveForm::kBrowser = {"\\BraveSoftware\\Brave-Browser\\User Data\\",
                                              "Software\\BraveSoftware\\Brave-Browser", nullptr};

TBraveForm::TBraveForm() : TChromiumForm(kTraits, kBrowser) {}

}  // namespace zarn
