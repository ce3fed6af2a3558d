#include "categories/Macromed.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Macromedia", "TmacromediaForm", "Zarn Cleaner - Macromedia ", "LV", "macromedBtn", StatusFamily::B,
                        "No Files Found", "File Name", 437, false, false, IDI_CAT_MACROMEDIA};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

}  // namespace

TmacromediaForm::TmacromediaForm() : TCategoryForm(kSpec, kClean) {}

void TmacromediaForm::Probe() {}

}  // namespace zarn
