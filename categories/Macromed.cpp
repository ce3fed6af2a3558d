#include "categories/Macromed.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Macromedia", "TmacromediaForm", "Zarn Cleaner - Macromedia ", "LV", "macromedBtn", StatusFamily::B,
                        "No Files Found", "File Name", 437, false, false, IDI_CAT_MACROMEDIA};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

// Recent-file lists only; no folder is listed.
const RegistryRow kRows[] = {
    {Root::HKCU, "\\Software\\Macromedia\\Flash 4\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\Flash 5\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\Flash 6\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\Flash 7\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\HomeSite5\\RecentFiles", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\Firework 6\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Macromedia\\Dreamweaver MX 2004\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
};

}  // namespace

std::span<const RegistryRow> MacromediaRows() { return kRows; }

TmacromediaForm::TmacromediaForm() : TCategoryForm(kTraits, kClean) {}

void TmacromediaForm::Probe() { ProbeRegistry(*this, kRows, Memo1); }

}  // namespace zarn
