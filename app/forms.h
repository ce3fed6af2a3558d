#pragma once
// The program's windows: one list, in the order start-up makes them, from which creating,
// destroying and finding them derive, and the program-wide reference to each named one.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "categories/Adobe.h"
#include "categories/MSoffice.h"
#include "categories/Macromed.h"
#include "categories/Openoffice.h"
#include "categories/chromium_form.h"
#include "categories/explorer.h"
#include "categories/interexplor.h"
#include "categories/mediaplay.h"
#include "categories/mozilla.h"
#include "categories/opera.h"
#include "categories/safari.h"
#include "categories/winapplet.h"
#include "categories/windsys.h"

namespace zarn {

class TMainForm;
class TFormabout;

// The program-wide reference to each window, set while the window exists.
inline TMainForm* MainForm = nullptr;
inline TDetailsForm* DetailsForm = nullptr;
inline TWindSysForm* WindSysForm = nullptr;
inline TadobeForm* adobeForm = nullptr;
inline TmacromediaForm* macromediaForm = nullptr;
inline TMsofficeForm* MsofficeForm = nullptr;
inline TInterForm* InterForm = nullptr;
inline TSafariForm* SafariForm = nullptr;
inline TmediaplayForm* mediaplayForm = nullptr;
inline TwinappletForm* winappletForm = nullptr;
inline TmozzForm* mozzForm = nullptr;
inline TFormabout* Formabout = nullptr;
inline TOpenofficeForm* OpenofficeForm = nullptr;
inline TOperaForm* OperaForm = nullptr;

// The application title, shown for the program in the task bar and on its message boxes.
inline constexpr char kApplicationTitle[] = "Zarn Cleaner 2008";

// Creates every window in its fixed order: the named ones into their references above,
// then a form for each row of the Chromium browsers' table. Only the main window is shown;
// the category forms scan first when the wizard asks them to. Stops at the first window
// that cannot be made.
bool CreateAllForms();
// Destroys every window that was made, the last made first.
void DestroyAllForms();

// The category form whose caption equals `caption` exactly, or null.
TCategoryForm* FindCategoryForm(const std::string& caption);
// Every category form made, in the order start-up makes them.
std::vector<TCategoryForm*> CategoryForms();

// What the program knows of each category's form besides the window: a fresh form of its
// kind (not yet created) and the tables its scan reads.
struct CategoryKind {
  std::function<std::unique_ptr<TCategoryForm>()> make;
  CategoryTables (*tables)();
};
// Every category, in the order start-up makes their forms.
std::span<const CategoryKind> CategoryKinds();

}  // namespace zarn
