#include "categories/winapplet.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Windows Applets",
    .className = "TwinappletForm",
    .title = "Zarn Cleaner - Windows Applets",
    .scanButtonName = "appletBtn",
    .iconId = IDI_CAT_APPLETS,
};
const CleanRules kClean = {};

// Recent-file lists of Wordpad, Paint, the management console and the snapshot viewer,
// and the last key the registry editor showed. The scan leaves the mouse cursor alone.
const RegistryRow kRows[] = {
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Microsoft Management Console\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Snapshot Viewer\\Recent File List"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey"),
};

}  // namespace

std::span<const RegistryRow> WinappletRows() { return kRows; }

TwinappletForm::TwinappletForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TwinappletForm::Tables() { return {.rows = {kRows}}; }

void TwinappletForm::Probe() { ProbeRegistry(*this, kRows, Memo1); }

}  // namespace zarn
