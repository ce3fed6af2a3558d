#include "categories/mediaplay.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Media Player", "TmediaplayForm", "Zarn Cleaner - Media Player ", "LV", "mediaBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_MEDIAPLAYER};
const CleanRules kClean = {};

}  // namespace

TmediaplayForm::TmediaplayForm() : TCategoryForm(kSpec, kClean) {}

void TmediaplayForm::Probe() {}

}  // namespace zarn
