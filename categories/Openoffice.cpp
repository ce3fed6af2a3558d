#include "categories/Openoffice.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Open Office", "TOpenofficeForm", "Zarn Cleaner - Open Office", "LV", "openoffBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_OPENOFFICE};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

}  // namespace

TOpenofficeForm::TOpenofficeForm() : TCategoryForm(kSpec, kClean) {}

void TOpenofficeForm::Probe() {}

}  // namespace zarn
