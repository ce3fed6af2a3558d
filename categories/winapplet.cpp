#include "categories/winapplet.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Windows Applets", "TwinappletForm", "Zarn Cleaner - Windows Applets", "LV", "appletBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_APPLETS};
const CleanRules kClean = {};

}  // namespace

TwinappletForm::TwinappletForm() : TCategoryForm(kSpec, kClean) {}

void TwinappletForm::Probe() {}

}  // namespace zarn
