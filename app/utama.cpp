#include "app/utama.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/aboutform.h"
#include "app/catalogue.h"
#include "app/forms.h"
#include "app/dpi_images.h"
#include "app/label_table.h"
#include "app/wizard_lists.h"
#include "res/resource.h"
#include "traces/pulse.h"

namespace zarn {

const char kWebAddress[] = "http://www.zarncleaner.com";

namespace {

UrlOpener g_urlOpener = nullptr;
ProgramEnder g_programEnder = nullptr;

void EndNow() {
  if (g_programEnder)
    g_programEnder();
  else
    ExitProcess(0);
}

constexpr int kImageScan = 0, kImageDone = 1, kImageClean = 2;

std::string Percent(int n) { return std::to_string(n) + " %"; }

void ShowMessage(HWND owner, const char* text) { MessageBoxA(owner, text, kApplicationTitle, MB_OK); }

// Shows a bitmap in a picture control and puts the control back where it was: the control
// takes the size of the bitmap it is given.
void SetPicture(HWND picture, HBITMAP bitmap) {
  RECT place{};
  GetWindowRect(picture, &place);
  MapWindowPoints(nullptr, GetParent(picture), reinterpret_cast<POINT*>(&place), 2);
  SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  MoveWindow(picture, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
}

HWND Picture(HWND parent, int id, int x, int y, int width, int height) {
  return CreateChild(parent, "STATIC", "", WS_VISIBLE | SS_BITMAP | SS_REALSIZECONTROL, x, y, width, height, id);
}

void Show(HWND hwnd, bool visible) { ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE); }

using Page = TMainForm::Page;

constexpr unsigned On(std::initializer_list<Page> pages) {
  unsigned mask = 0;
  for (Page page : pages) mask |= 1u << static_cast<int>(page);
  return mask;
}

// Which windows each page shows; it hides the others of this list. "Finish" appears only
// when a clean is complete.
struct PagePart {
  int id;
  unsigned pages;
};
constexpr PagePart kPageParts[] = {
    {TMainForm::kPanel1, On({Page::ChooseCategories, Page::Scanning})},
    {TMainForm::kPanelTop, On({Page::Results, Page::Cleaning})},
    {TMainForm::kPanel2, On({Page::ChooseCategories})},
    {TMainForm::kPanel3, On({Page::Scanning})},
    {TMainForm::kPanel4, On({Page::Results, Page::Cleaning})},
    {TMainForm::kLv3, On({Page::Results})},
    {TMainForm::kLvclean, On({Page::Cleaning})},
    {TMainForm::kBackbtn, On({Page::Scanning, Page::Results, Page::Cleaning})},
    {TMainForm::kNextbtn, On({Page::ChooseCategories, Page::Scanning, Page::Results, Page::Cleaning})},
    {TMainForm::kFinishBtn, 0},
};

constexpr DWORD kOneLine = SS_ENDELLIPSIS;
const LabelSpec kWelcomeLabels[] = {
    {TMainForm::kLabel1, "Welcome to Zarn Cleaner", 0, 0, 425, 14, FontKind::Bold, kOneLine},
    {TMainForm::kLabel2, "Zarn Cleaner will help you clean up recent file lists (MRUs).", 0, 18, 425, 14,
     FontKind::Normal, kOneLine},
    {TMainForm::kLabel3, "It will removes many unused files from windows system, with clean this file -", 0, 32, 425,
     14, FontKind::Normal, kOneLine},
    {TMainForm::kLabel4, "you can get extra space and faster performance of your windows system.", 0, 46, 425, 14,
     FontKind::Normal, kOneLine},
    {TMainForm::kLabel5, "Please select category you wish to scan from list above and click button Next ", 0, 303, 425,
     14, FontKind::Normal, kOneLine},
    {TMainForm::kLabel6, "when you have finished selecting category.", 0, 319, 425, 14, FontKind::Normal, kOneLine},
};
const LabelSpec kScanLabels[] = {
    {TMainForm::kLabel7, "", 8, 8, 401, 14, FontKind::Normal, kOneLine},
    {TMainForm::kLabel8, "", 8, 296, 401, 14, FontKind::Normal, kOneLine},
};
const LabelSpec kResultLabels[] = {
    {TMainForm::kLabel9, "", 0, 8, 525, 14, FontKind::Normal, kOneLine},
    // Page 3's note is wider than the page in Tahoma at 96 DPI: it wraps to a second line,
    // which the label and its panel make room for between the bar and the bevel.
    {TMainForm::kLabel10, "", 0, 259, 529, 27},
};

void CreateBar(TXiProgressBar& bar, HWND parent, int id, int x, int y, int width) {
  bar.Create(parent, x, y, width, 16, id);
  if (DpiLayout* layout = Form::LayoutOf(parent)) layout->Place(bar.Handle(), x, y, width, 16, FontKind::None);
  bar.SetColorScheme(TXiProgressBar::csSky);
  bar.SetMin(0);
  bar.SetMax(100);
  bar.SetStep(1);
}

}  // namespace

void SetUrlOpener(UrlOpener opener) { g_urlOpener = opener; }

void SetProgramEnder(ProgramEnder ender) { g_programEnder = ender; }

void OpenWebSite() {
  if (g_urlOpener) {
    g_urlOpener(kWebAddress);
    return;
  }
  ShellExecuteA(nullptr, nullptr, kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

bool TMainForm::Create() {
  if (!CreateForm({.className = "TMainForm",
                   .title = "ZARN CLEANER",
                   .style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                   .width = 555,
                   .height = 435,
                   .iconId = IDI_APP}))
    return false;
  FormCreate();
  return true;
}

void TMainForm::CreateControls() {
  imageList1_.reset(CreateListImages(layout_.Dpi()));
  CreatePage1();
  CreatePage2();
  CreatePages34();
  CreateButtons();
}

void TMainForm::CreatePage1() {
  HWND panel1 = CreatePanel(hwnd_, 8, 16, 97, 337, PanelEdge::SunkenDouble, GetSysColor(COLOR_BTNFACE), kPanel1);
  Picture(panel1, kImage2, 2, 2, 93, 333);
  Show(panel1, true);

  // Along the top over the whole client width: placed by PlaceTopBanner.
  HWND panelTop = CreatePanel(hwnd_, 0, 0, 0, 70, PanelEdge::LoweredInner, RGB(255, 255, 255), kPanelTop);
  Picture(panelTop, kImage1, 0, 2, 0, 66);

  HWND panel2 = CreatePanel(hwnd_, 112, 16, 425, 337, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel2);
  CreateLabels(panel2, kWelcomeLabels);
  const ListColumn columns[] = {{"  Category", 160, LVCFMT_LEFT}, {"Description", 250, LVCFMT_LEFT}};
  lvall_ = CreateWizardList(panel2, kLvall, 0, 64, 417, 233, true, nullptr, columns, 2);
  Show(panel2, true);
}

void TMainForm::CreatePage2() {
  HWND panel3 = CreatePanel(hwnd_, 112, 16, 425, 337, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel3);
  CreateLabels(panel3, kScanLabels);
  const ListColumn columns[] = {{"   Category", 180, LVCFMT_LEFT}, {" Scan Progress", 100, LVCFMT_CENTER}};
  lv2_ = CreateWizardList(panel3, kLv2, 8, 40, 401, 200, false, imageList1_.get(), columns, 2);
  CreateBar(pb2_, panel3, kPB2, 8, 256, 401);
}

void TMainForm::CreatePages34() {
  HWND panel4 = CreatePanel(hwnd_, 8, 72, 529, 287, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel4);
  CreateLabels(panel4, kResultLabels);
  const ListColumn columns[] = {{"     Category", 250, LVCFMT_LEFT},
                                {"Number of Files", 100, LVCFMT_CENTER},
                                {"Clean Progress", 100, LVCFMT_CENTER}};
  lv3_ = CreateWizardList(panel4, kLv3, 0, 32, 525, 201, true, nullptr, columns, 3);
  lvclean_ = CreateWizardList(panel4, kLvclean, 0, 32, 525, 201, false, imageList1_.get(), columns, 3);
  CreateBar(pb_, panel4, kPB, 0, 240, 525);
}

void TMainForm::CreateButtons() {
  CreateChild(hwnd_, "STATIC", "", WS_VISIBLE | SS_ETCHEDHORZ, 8, 360, 525, 2, kBevel1);
  struct Button {
    int id;
    const char* text;
    int x;
    bool visible;
  };
  const Button buttons[] = {{kBackbtn, "< Back", 104, false},   {kNextbtn, "Next >", 184, true},
                            {kFinishBtn, "Finish", 184, false}, {kClosebtn, "Close", 296, true},
                            {kHelpbtn, "Help", 376, true},      {kAboutbtn, "About", 456, true}};
  for (const Button& b : buttons)
    CreateChild(hwnd_, "BUTTON", b.text, (b.visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_PUSHBUTTON, b.x, 368, 75, 25,
                b.id);
}

void TMainForm::ApplyDpi(bool changed) {
  const UINT dpi = layout_.Dpi();
  if (changed) {
    // The new list images go in before the old ones are destroyed.
    gdi::unique_himagelist images(CreateListImages(dpi));
    ListView_SetImageList(lv2_, images.get(), LVSIL_SMALL);
    ListView_SetImageList(lvclean_, images.get(), LVSIL_SMALL);
    imageList1_ = std::move(images);
  }
  gdi::unique_hbitmap side(LoadBanner(IDR_BANNER_SIDE, IDR_BANNER_SIDE_2X, layout_.Scale(93), layout_.Scale(333), dpi));
  SetPicture(Control(kImage2), side.get());
  banner2_ = std::move(side);
  PlaceTopBanner();
  pb2_.SetDpi(dpi);
  pb_.SetDpi(dpi);
  if (changed) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TMainForm::PlaceTopBanner() {
  RECT client;
  GetClientRect(hwnd_, &client);
  MoveWindow(Control(kPanelTop), 0, 0, client.right, layout_.Scale(70), FALSE);
  // The banner as wide as it was drawn, but no wider than the panel inside its edge.
  const int width = std::min<int>(layout_.Scale(555), client.right - layout_.Scale(4));
  const int height = layout_.Scale(66);
  gdi::unique_hbitmap top(LoadBanner(IDR_BANNER_TOP, IDR_BANNER_TOP_2X, width, height, layout_.Dpi()));
  HWND image = Control(kImage1);
  MoveWindow(image, (client.right - width) / 2, layout_.Scale(2), width, height, FALSE);
  SetPicture(image, top.get());
  banner1_ = std::move(top);
}

void TMainForm::FormCreate() {
  page_ = Page::ChooseCategories;
  BuildCatalogue();
}

void TMainForm::BuildCatalogue() {
  for (const CatalogueRow& row : zarn::BuildCatalogue()) {
    int at = AddRow(lvall_, row.caption, true);
    SetCell(lvall_, at, 1, row.description);
  }
}

void TMainForm::ShowPage(Page page) {
  page_ = page;
  const unsigned bit = 1u << static_cast<int>(page);
  for (const PagePart& part : kPageParts) Show(Control(part.id), (part.pages & bit) != 0);
}

void TMainForm::SetTexts(int titleLabel, int noteLabel, const PageTexts& texts) {
  SetWindowTextA(Control(titleLabel), texts.title);
  SetWindowTextA(Control(noteLabel), texts.note);
}

bool TMainForm::PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The message loop must still see the request to end.
      quitting_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (RouteDialogMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

bool TMainForm::PulseDuringRun(void* form) {
  auto* self = static_cast<TMainForm*>(form);
  return self->PumpMessages() && !self->endRequested_;
}

void TMainForm::Animate(const Run& run, int row) {
  for (int n = 0; n <= 100 && !quitting_ && !endRequested_; ++n) {
    if (!PumpMessages()) return;
    Sleep(5);
    run.bar.SetPosition(n + 100 * row);
    SetRowImage(run.list, row, n < 41 || n > 79 ? run.image : I_IMAGENONE);
    SetCell(run.list, row, run.progressColumn, Percent(n));
    if (row > 0) SetRowImage(run.list, row - 1, kImageDone);
    UpdateWindow(run.list);
  }
}

bool TMainForm::RunCategories(const Run& run) {
  int ticked = 0;
  for (int i = 0; i < RowCount(run.source); ++i) ticked += RowTicked(run.source, i);
  if (ticked == 0) {
    ShowMessage(hwnd_, "Please Select Category !");
    return false;
  }
  ListView_DeleteAllItems(run.list);
  for (int i = 0; i < RowCount(run.source); ++i) {
    if (!RowTicked(run.source, i)) continue;
    int row = AddRow(run.list, Cell(run.source, i, 0), false);
    for (int column = 1; column < run.progressColumn; ++column)
      SetCell(run.list, row, column, Cell(run.source, i, column));
    SetCell(run.list, row, run.progressColumn, Percent(0));
  }

  ShowPage(run.page);
  EnableWindow(Control(kBackbtn), FALSE);
  EnableWindow(Control(kNextbtn), FALSE);
  run.bar.SetMax(RowCount(run.list) * 100);
  SetTexts(run.titleLabel, run.noteLabel, run.during);

  for (int p = 0; p < RowCount(run.list) && !quitting_; ++p) {
    Animate(run, p);
    if (quitting_ || endRequested_) return false;
    SetRowImage(run.list, p, kImageDone);
    TCategoryForm* form = FindCategoryForm(Cell(run.list, p, 0));
    if (form) {
      // A large cache takes seconds: the window keeps answering, and Windows never calls
      // it hung, while the scan or clean runs on this one thread.
      PulseScope pulse(&TMainForm::PulseDuringRun, this);
      (form->*run.operation)();
    }
    // A clean's row counts the ticked items it could not delete: "0" only when all went.
    if (run.countColumn) SetCell(run.list, p, *run.countColumn, form ? std::to_string(form->LeftAfterClean()) : "0");
    if (endRequested_) return false;
  }

  SetTexts(run.titleLabel, run.noteLabel, run.after);
  EnableWindow(Control(kBackbtn), TRUE);
  EnableWindow(Control(kNextbtn), TRUE);
  return true;
}

void TMainForm::StartScan() {
  RunCategories({.page = Page::Scanning,
                 .source = lvall_,
                 .list = lv2_,
                 .image = kImageScan,
                 .progressColumn = 1,
                 .countColumn = std::nullopt,
                 .bar = pb2_,
                 .operation = &TCategoryForm::ClickScan,
                 .titleLabel = kLabel7,
                 .noteLabel = kLabel8,
                 .during = {"Scanning applications ...", "Please wait until complete scanning selected category."},
                 .after = {"Scan Complete", "Click Next to display all files found."}});
}

void TMainForm::ShowResults() {
  ShowPage(Page::Results);
  SetTexts(kLabel9, kLabel10,
           {"Double click category  name to show detail files",
            "Please select the categories you would like to clean and then click Next to begin the cleaning Process "});
  ListView_DeleteAllItems(lv3_);
  for (int i = 0; i < RowCount(lv2_); ++i) {
    const std::string caption = Cell(lv2_, i, 0);
    TCategoryForm* form = FindCategoryForm(caption);
    int row = AddRow(lv3_, caption, true);
    SetCell(lv3_, row, 1, form ? std::to_string(form->FoundCount()) : "0");
    SetCell(lv3_, row, 2, Percent(0));
  }
}

void TMainForm::StartClean() {
  const bool cleaned =
      RunCategories({.page = Page::Cleaning,
                     .source = lv3_,
                     .list = lvclean_,
                     .image = kImageClean,
                     .progressColumn = 2,
                     .countColumn = 1,
                     .bar = pb_,
                     .operation = &TCategoryForm::ClickDelete,
                     .titleLabel = kLabel9,
                     .noteLabel = kLabel10,
                     .during = {"Cleaning applications ...", "Please wait until complete cleaning selected category."},
                     .after = {"Complete Cleaning", "You have finished cleaning selected category."}});
  if (!cleaned) return;
  Show(Control(kFinishBtn), true);
  Show(Control(kNextbtn), false);
}

void TMainForm::nextbtnClick() {
  // The animation lets messages through; nothing may start a second run inside the first.
  if (busy_) return;
  busy_ = true;
  switch (page_) {
    case Page::ChooseCategories: StartScan(); break;
    case Page::Scanning: ShowResults(); break;
    case Page::Results: StartClean(); break;
    default: break;
  }
  busy_ = false;
  if (endRequested_) EndNow();
}

void TMainForm::backbtnClick() {
  if (busy_ || page_ < Page::Scanning) return;
  ShowPage(Page::ChooseCategories);
  EnableWindow(Control(kNextbtn), TRUE);
}

void TMainForm::finishBtnClick() { PostQuitMessage(0); }

void TMainForm::closebtnClick() { EndProgram(); }

void TMainForm::EndProgram() {
  if (busy_)
    endRequested_ = true;
  else
    EndNow();
}

void TMainForm::helpbtnClick() { OpenWebSite(); }

void TMainForm::aboutbtnClick() {
  if (Formabout) Formabout->ShowAbout();
}

void TMainForm::lv3DblClick() {
  if (busy_ || page_ != Page::Results) return;
  int row = ListView_GetNextItem(lv3_, -1, LVNI_SELECTED);
  if (row < 0) return;
  TCategoryForm* form = FindCategoryForm(Cell(lv3_, row, 0));
  if (!form) return;
  if (Cell(lv3_, row, 1) == "0") {
    ShowMessage(hwnd_, "No file have to cleaned in this category");
    return;
  }
  form->ShowDetail();
}

bool TMainForm::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case kNextbtn: nextbtnClick(); return true;
    case kBackbtn: backbtnClick(); return true;
    case kFinishBtn: finishBtnClick(); return true;
    case kClosebtn: closebtnClick(); return true;
    case kHelpbtn: helpbtnClick(); return true;
    case kAboutbtn: aboutbtnClick(); return true;
  }
  return false;
}

bool TMainForm::OnNotify(const NMHDR* header, LRESULT*) {
  if (header->idFrom == kLv3 && header->code == NM_DBLCLK) lv3DblClick();
  return false;
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // The application window carries the task bar button; minimising goes through it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && ApplicationWindow()) {
        ShowWindow(ApplicationWindow(), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_CLOSE:
      // FormClose: closing the main window ends the program.
      EndProgram();
      return 0;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace zarn
