#include "categories/edge.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Microsoft Edge",
    .className = "TEdgeForm",
    .title = "Zarn Cleaner - Microsoft Edge",
    .traceListName = "lvbro",
    .scanButtonName = "edgebtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_EDGE,
};
const CleanRules kClean = {};

// Edge keeps its profiles where Chrome does, under its own maker's folder.
const ChromiumBrowser kEdge = {BaseFolder::LocalAppData, "\\Microsoft\\Edge\\User Data\\", ChromiumProfileFiles()};

}  // namespace

TEdgeForm::TEdgeForm() : TCategoryForm(kTraits, kClean) {}

void TEdgeForm::Probe() { ProbeChromiumProfiles(*this, kEdge); }

}  // namespace zarn
