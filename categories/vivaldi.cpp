#include "categories/vivaldi.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Vivaldi",
    .className = "TVivaldiForm",
    .title = "Zarn Cleaner - Vivaldi",
    .traceListName = "lvbro",
    .scanButtonName = "vivaldibtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_VIVALDI,
};

}  // namespace

// Vivaldi keeps its profiles where Chrome does, in a folder of its own name. It is known by
// its folder and its user key alone: no updater key is looked for.
const ChromiumBrowser TVivaldiForm::kBrowser = {"\\Vivaldi\\User Data\\", "Software\\Vivaldi", nullptr};

TVivaldiForm::TVivaldiForm() : TChromiumForm(kTraits, kBrowser) {}

}  // namespace zarn
