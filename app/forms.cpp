#include "app/forms.h"

#include <type_traits>

#include "app/aboutform.h"
#include "app/utama.h"

namespace zarn {

namespace {

// One window of the list, made from its reference: how to make and destroy it and, for a
// category form, the form made and the category's kind.
struct Slot {
  bool (*create)();
  void (*destroy)();
  TCategoryForm* (*category)() = nullptr;
  CategoryKind kind = {};
};

template <auto& ref>
constexpr Slot SlotOf() {
  using Form = std::remove_pointer_t<std::remove_reference_t<decltype(ref)>>;
  Slot slot{[] {
              ref = new Form();
              if constexpr (std::is_base_of_v<TCategoryForm, Form>)
                return ref->Create(FirstScan::WhenAsked);
              else
                return ref->Create();
            },
            [] {
              delete ref;
              ref = nullptr;
            }};
  if constexpr (std::is_base_of_v<TCategoryForm, Form>) {
    slot.category = []() -> TCategoryForm* { return ref; };
    slot.kind = {[]() -> std::unique_ptr<TCategoryForm> { return std::make_unique<Form>(); }, &Form::Tables};
  }
  return slot;
}

// Every window, in the order start-up makes them.
constexpr Slot kForms[] = {
    SlotOf<MainForm>(),       SlotOf<DetailsForm>(),   SlotOf<WindSysForm>(), SlotOf<adobeForm>(),
    SlotOf<macromediaForm>(), SlotOf<MsofficeForm>(),  SlotOf<InterForm>(),   SlotOf<SafariForm>(),
    SlotOf<mediaplayForm>(),  SlotOf<winappletForm>(), SlotOf<mozzForm>(),    SlotOf<Formabout>(),
    SlotOf<OpenofficeForm>(), SlotOf<OperaForm>(),     SlotOf<ChromeForm>(),  SlotOf<EdgeForm>(),
    SlotOf<BraveForm>(),      SlotOf<VivaldiForm>(),
};

}  // namespace

bool CreateAllForms() {
  for (const Slot& slot : kForms)
    if (!slot.create()) return false;
  return true;
}

void DestroyAllForms() {
  for (auto slot = std::rbegin(kForms); slot != std::rend(kForms); ++slot) slot->destroy();
}

TCategoryForm* FindCategoryForm(const std::string& caption) {
  for (const Slot& slot : kForms)
    if (TCategoryForm* form = slot.category ? slot.category() : nullptr; form && caption == form->Traits().caption)
      return form;
  return nullptr;
}

std::vector<TCategoryForm*> CategoryForms() {
  std::vector<TCategoryForm*> forms;
  for (const Slot& slot : kForms)
    if (TCategoryForm* form = slot.category ? slot.category() : nullptr) forms.push_back(form);
  return forms;
}

std::span<const CategoryKind> CategoryKinds() {
  static const std::vector<CategoryKind> kinds = [] {
    std::vector<CategoryKind> all;
    for (const Slot& slot : kForms)
      if (slot.category) all.push_back(slot.kind);
    return all;
  }();
  return kinds;
}

}  // namespace zarn
