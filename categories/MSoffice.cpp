#include "categories/MSoffice.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Microsoft Office", "TMsofficeForm", "Zarn Cleaner - Microsoft Office", "LV", "msoffBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_MSOFFICE};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

}  // namespace

TMsofficeForm::TMsofficeForm() : TCategoryForm(kSpec, kClean) {}

void TMsofficeForm::Probe() {}

}  // namespace zarn
