#include "categories/Macromed.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Macromedia",
    .className = "TmacromediaForm",
    .title = "Zarn Cleaner - Macromedia ",
    .scanButtonName = "macromedBtn",
    .emptyText = "No Files Found",
    .iconId = IDI_CAT_MACROMEDIA,
};
const CleanRules kClean = {.keys = KeyDeletion::BothRootsAfter};

// Recent-file lists only; no folder is listed.
const RegistryRow kRows[] = {
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Flash 4\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Flash 5\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Flash 6\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Flash 7\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\HomeSite5\\RecentFiles"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Firework 6\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Macromedia\\Dreamweaver MX 2004\\Recent File List"),
};

}  // namespace

std::span<const RegistryRow> MacromediaRows() { return kRows; }

TmacromediaForm::TmacromediaForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TmacromediaForm::Tables() { return {.rows = {kRows}}; }

void TmacromediaForm::Probe() { ProbeRegistry(*this, kRows, Memo1); }

}  // namespace zarn
