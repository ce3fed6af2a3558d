#include "app/forms.h"

#include <type_traits>

#include "app/aboutform.h"
#include "app/utama.h"

namespace zarn {

TMainForm* MainForm = nullptr;
TDetailsForm* DetailsForm = nullptr;
TWindSysForm* WindSysForm = nullptr;
TadobeForm* adobeForm = nullptr;
TmacromediaForm* macromediaForm = nullptr;
TMsofficeForm* MsofficeForm = nullptr;
TInterForm* InterForm = nullptr;
TSafariForm* SafariForm = nullptr;
TmediaplayForm* mediaplayForm = nullptr;
TwinappletForm* winappletForm = nullptr;
TmozzForm* mozzForm = nullptr;
TFormabout* Formabout = nullptr;
TOpenofficeForm* OpenofficeForm = nullptr;
TOperaForm* OperaForm = nullptr;
TChromeForm* ChromeForm = nullptr;
TEdgeForm* EdgeForm = nullptr;

namespace {

template <typename Form>
bool Make(Form*& ref) {
  ref = new Form();
  if constexpr (std::is_base_of_v<TCategoryForm, Form>)
    return ref->Create(FirstScan::WhenAsked);
  else
    return ref->Create();
}

}  // namespace

bool CreateAllForms() {
  return Make(MainForm) && Make(DetailsForm) && Make(WindSysForm) && Make(adobeForm) && Make(macromediaForm) &&
         Make(MsofficeForm) && Make(InterForm) && Make(SafariForm) && Make(mediaplayForm) && Make(winappletForm) &&
         Make(mozzForm) && Make(Formabout) && Make(OpenofficeForm) && Make(OperaForm) && Make(ChromeForm) &&
         Make(EdgeForm);
}

template <typename Form>
static void Drop(Form*& ref) {
  delete ref;
  ref = nullptr;
}

void DestroyAllForms() {
  Drop(EdgeForm);
  Drop(ChromeForm);
  Drop(OperaForm);
  Drop(OpenofficeForm);
  Drop(Formabout);
  Drop(mozzForm);
  Drop(winappletForm);
  Drop(mediaplayForm);
  Drop(SafariForm);
  Drop(InterForm);
  Drop(MsofficeForm);
  Drop(macromediaForm);
  Drop(adobeForm);
  Drop(WindSysForm);
  Drop(DetailsForm);
  Drop(MainForm);
}

TCategoryForm* FindCategoryForm(const std::string& caption) {
  TCategoryForm* const forms[] = {DetailsForm,    WindSysForm, adobeForm,     macromediaForm, MsofficeForm,
                                  InterForm,      SafariForm,  mediaplayForm, winappletForm,  mozzForm,
                                  OpenofficeForm, OperaForm,   ChromeForm,    EdgeForm};
  for (TCategoryForm* form : forms)
    if (form && caption == form->Traits().caption) return form;
  return nullptr;
}

}  // namespace zarn
