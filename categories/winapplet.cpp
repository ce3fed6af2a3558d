#include "categories/winapplet.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Windows Applets", "TwinappletForm", "Zarn Cleaner - Windows Applets", "LV", "appletBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_APPLETS};
const CleanRules kClean = {};

// Recent-file lists of Wordpad, Paint, the management console and the snapshot viewer,
// and the last key the registry editor showed. The scan leaves the mouse cursor alone.
const RegistryRow kRows[] = {
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Microsoft Management Console\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Snapshot Viewer\\Recent File List", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", NameSource::Values, NameRule::Only, "LastKey"},
};

}  // namespace

std::span<const RegistryRow> WinappletRows() { return kRows; }

TwinappletForm::TwinappletForm() : TCategoryForm(kTraits, kClean) {}

void TwinappletForm::Probe() { ProbeRegistry(*this, kRows, Memo1); }

}  // namespace zarn
