#include "app/forms.h"

#include <type_traits>

#include "app/aboutform.h"
#include "app/utama.h"

namespace zarn {

namespace {

// One window of the list: how to make and destroy it and, for a category form, the form
// made and the category's kind.
struct Slot {
  std::function<bool()> create;
  std::function<void()> destroy;
  std::function<TCategoryForm*()> category = {};
  CategoryKind kind = {};
};

template <auto& ref>
Slot SlotOf() {
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

// The forms of the Chromium browsers' table, one per row, set while they exist, as the
// named references are. Nothing reads one by name: the wizard finds each by its caption.
std::vector<TChromiumForm*> g_browserForms(ChromiumBrowsers().size());

Slot BrowserSlot(size_t row) {
  const ChromiumBrowser& browser = ChromiumBrowsers()[row];
  return {[row, &browser] {
            g_browserForms[row] = new TChromiumForm(browser);
            return g_browserForms[row]->Create(FirstScan::WhenAsked);
          },
          [row] {
            delete g_browserForms[row];
            g_browserForms[row] = nullptr;
          },
          [row]() -> TCategoryForm* { return g_browserForms[row]; },
          {[&browser]() -> std::unique_ptr<TCategoryForm> { return std::make_unique<TChromiumForm>(browser); },
           &TChromiumForm::Tables}};
}

// Every window, in the order start-up makes them.
const std::vector<Slot>& Forms() {
  static const std::vector<Slot> forms = [] {
    std::vector<Slot> all = {
        SlotOf<MainForm>(),       SlotOf<DetailsForm>(),   SlotOf<WindSysForm>(), SlotOf<adobeForm>(),
        SlotOf<macromediaForm>(), SlotOf<MsofficeForm>(),  SlotOf<InterForm>(),   SlotOf<SafariForm>(),
        SlotOf<mediaplayForm>(),  SlotOf<winappletForm>(), SlotOf<mozzForm>(),    SlotOf<Formabout>(),
        SlotOf<OpenofficeForm>(), SlotOf<OperaForm>(),
    };
    for (size_t row = 0; row < ChromiumBrowsers().size(); ++row) all.push_back(BrowserSlot(row));
    return all;
  }();
  return forms;
}

}  // namespace

bool CreateAllForms() {
  for (const Slot& slot : Forms())
    if (!slot.create()) return false;
  return true;
}

void DestroyAllForms() {
  for (auto slot = Forms().rbegin(); slot != Forms().rend(); ++slot) slot->destroy();
}

TCategoryForm* FindCategoryForm(const std::string& caption) {
  for (const Slot& slot : Forms())
    if (TCategoryForm* form = slot.category ? slot.category() : nullptr; form && caption == form->Traits().caption)
      return form;
  return nullptr;
}

std::vector<TCategoryForm*> CategoryForms() {
  std::vector<TCategoryForm*> forms;
  for (const Slot& slot : Forms())
    if (TCategoryForm* form = slot.category ? slot.category() : nullptr) forms.push_back(form);
  return forms;
}

std::span<const CategoryKind> CategoryKinds() {
  static const std::vector<CategoryKind> kinds = [] {
    std::vector<CategoryKind> all;
    for (const Slot& slot : Forms())
      if (slot.category) all.push_back(slot.kind);
    return all;
  }();
  return kinds;
}

}  // namespace zarn
