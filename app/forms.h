#pragma once
// The program-wide references to every window, created once at start-up.
#include "categories/Adobe.h"
#include "categories/MSoffice.h"
#include "categories/Macromed.h"
#include "categories/Openoffice.h"
#include "categories/chrome.h"
#include "categories/edge.h"
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

extern TMainForm* MainForm;
extern TDetailsForm* DetailsForm;
extern TWindSysForm* WindSysForm;
extern TadobeForm* adobeForm;
extern TmacromediaForm* macromediaForm;
extern TMsofficeForm* MsofficeForm;
extern TInterForm* InterForm;
extern TSafariForm* SafariForm;
extern TmediaplayForm* mediaplayForm;
extern TwinappletForm* winappletForm;
extern TmozzForm* mozzForm;
extern TFormabout* Formabout;
extern TOpenofficeForm* OpenofficeForm;
extern TOperaForm* OperaForm;
extern TChromeForm* ChromeForm;
extern TEdgeForm* EdgeForm;

// The application title, shown for the program in the task bar and on its message boxes.
inline constexpr char kApplicationTitle[] = "Zarn Cleaner 2008";

// Creates the sixteen windows in their fixed order. Only the main window is shown; the
// category forms scan first when the wizard asks them to.
bool CreateAllForms();
void DestroyAllForms();

// The category form whose caption equals `caption` exactly, or null.
TCategoryForm* FindCategoryForm(const std::string& caption);

}  // namespace zarn
