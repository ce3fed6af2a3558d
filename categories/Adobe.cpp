#include "categories/Adobe.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Adobe", "TadobeForm", "Zarn Cleaner - Adobe", "LV", "adobeBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_ADOBE};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

}  // namespace

TadobeForm::TadobeForm() : TCategoryForm(kSpec, kClean) {}

void TadobeForm::Probe() {}

}  // namespace zarn
