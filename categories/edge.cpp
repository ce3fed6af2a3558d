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

}  // namespace

// Edge keeps its profiles where Chrome does, under its own maker's folder.
const ChromiumBrowser TEdgeForm::kBrowser = {
    "\\Microsoft\\Edge\\User Data\\", "Software\\Microsoft\\Edge",
    "Software\\Microsoft\\EdgeUpdate\\ClientState\\{56EB18F8-B008-4CBD-B6D2-8C97FE7E9062}"};

TEdgeForm::TEdgeForm() : TChromiumForm(kTraits, kBrowser) {}

}  // namespace zarn
