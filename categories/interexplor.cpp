#include "categories/interexplor.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormSpec kSpec = {"Internet Explorer", "TInterForm", "Zarn Cleaner - Internet Explorer", "lvbro", "interbtn", StatusFamily::A,
                        "", "File Name", 437, false, false, IDI_CAT_IE};
const CleanRules kClean = {true, false, KeyDeletion::None};

}  // namespace

TInterForm::TInterForm() : TCategoryForm(kSpec, kClean) {}

void TInterForm::Probe() {}

}  // namespace zarn
