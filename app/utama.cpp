#include "app/utama.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/aboutform.h"
#include "app/catalogue.h"
#include "app/forms.h"
#include "app/jpeg_image.h"
#include "app/wizard_lists.h"
#include "res/resource.h"

namespace zarn {

const char kWebAddress[] = "http://www.zarncleaner.com";

namespace {

UrlOpener g_urlOpener = nullptr;

constexpr int kImageScan = 0, kImageDone = 1, kImageClean = 2;

std::string Percent(int n) { return std::to_string(n) + " %"; }

void ShowMessage(HWND owner, const char* text) {
  MessageBoxA(owner, text, kApplicationTitle, MB_OK);
}

HWND Label(HWND parent, int id, const char* text, int x, int y, int width, HFONT font = nullptr) {
  HWND label = CreateChild(parent, "STATIC", text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, x, y, width, 14, id);
  if (font) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

HWND Picture(HWND parent, int id, HBITMAP bitmap, int x, int y, int width, int height) {
  HWND picture = CreateChild(parent, "STATIC", "", WS_VISIBLE | SS_BITMAP | SS_REALSIZECONTROL, x, y, width,
                             height, id);
  SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  MoveWindow(picture, x, y, width, height, FALSE);
  return picture;
}

void Show(HWND hwnd, bool visible) { ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE); }

void CreateBar(TXiProgressBar& bar, HWND parent, int id, int x, int y, int width) {
  bar.Create(parent, x, y, width, 16, id);
  bar.SetColorScheme(TXiProgressBar::csSky);
  bar.SetMin(0);
  bar.SetMax(100);
  bar.SetStep(1);
}

}  // namespace

void SetUrlOpener(UrlOpener opener) { g_urlOpener = opener; }

void OpenWebSite() {
  if (g_urlOpener) {
    g_urlOpener(kWebAddress);
    return;
  }
  ShellExecuteA(nullptr, nullptr, kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

bool TMainForm::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass("TMainForm", LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP)), GetSysColorBrush(COLOR_BTNFACE));
  if (!CreateTopLevel("TMainForm", "ZARN CLEANER", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT, 555, 435, ApplicationWindow()))
    return false;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);

  imageList1_.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
  for (int id : {IDI_LIST_SCAN, IDI_LIST_DONE, IDI_LIST_CLEAN}) {
    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
    ImageList_AddIcon(imageList1_.get(), icon);
    DestroyIcon(icon);
  }
  banner2_.reset(LoadJpegBitmap(instance, IDR_BANNER_SIDE));
  banner1_.reset(LoadJpegBitmap(instance, IDR_BANNER_TOP));

  CreatePage1();
  CreatePage2();
  CreatePages34();
  CreateButtons();
  AddDialogWindow(hwnd_);
  FormCreate();
  return true;
}

void TMainForm::CreatePage1() {
  panel1_ = CreatePanel(hwnd_, 8, 16, 97, 337, PanelEdge::SunkenDouble, GetSysColor(COLOR_BTNFACE), kPanel1);
  Picture(panel1_, kImage2, banner2_.get(), 2, 2, 93, 333);
  Show(panel1_, true);

  RECT client;
  GetClientRect(hwnd_, &client);
  panelTop_ = CreatePanel(hwnd_, 0, 0, client.right, 70, PanelEdge::LoweredInner, RGB(255, 255, 255), kPanelTop);
  BITMAP bm{};
  if (banner1_) GetObjectA(banner1_.get(), sizeof bm, &bm);
  int bannerWidth = bm.bmWidth ? std::min<int>(bm.bmWidth, client.right - 4) : client.right - 4;
  Picture(panelTop_, kImage1, banner1_.get(), (client.right - bannerWidth) / 2, 2, bannerWidth, 66);

  panel2_ = CreatePanel(hwnd_, 112, 16, 425, 337, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel2);
  Label(panel2_, kLabel1, "Welcome to Zarn Cleaner", 0, 0, 425, BoldFont());
  Label(panel2_, kLabel2, "Zarn Cleaner will help you clean up recent file lists (MRUs).", 0, 18, 425);
  Label(panel2_, kLabel3, "It will removes many unused files from windows system, with clean this file -", 0, 32, 425);
  Label(panel2_, kLabel4, "you can get extra space and faster performance of your windows system.", 0, 46, 425);
  const ListColumn columns[] = {{"  Category", 160, LVCFMT_LEFT}, {"Description", 250, LVCFMT_LEFT}};
  lvall_ = CreateWizardList(panel2_, kLvall, 0, 64, 417, 233, true, nullptr, columns, 2);
  Label(panel2_, kLabel5, "Please select category you wish to scan from list above and click button Next ", 0, 303, 425);
  Label(panel2_, kLabel6, "when you have finished selecting category.", 0, 319, 425);
  Show(panel2_, true);
}

void TMainForm::CreatePage2() {
  panel3_ = CreatePanel(hwnd_, 112, 16, 425, 337, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel3);
  Label(panel3_, kLabel7, "", 8, 8, 401);
  const ListColumn columns[] = {{"   Category", 180, LVCFMT_LEFT}, {" Scan Progress", 100, LVCFMT_CENTER}};
  lv2_ = CreateWizardList(panel3_, kLv2, 8, 40, 401, 200, false, imageList1_.get(), columns, 2);
  CreateBar(pb2_, panel3_, kPB2, 8, 256, 401);
  Label(panel3_, kLabel8, "", 8, 296, 401);
}

void TMainForm::CreatePages34() {
  panel4_ = CreatePanel(hwnd_, 8, 72, 529, 281, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel4);
  Label(panel4_, kLabel9, "", 0, 8, 525);
  const ListColumn columns[] = {{"     Category", 250, LVCFMT_LEFT},
                                {"Number of Files", 100, LVCFMT_CENTER},
                                {"Clean Progress", 100, LVCFMT_CENTER}};
  lv3_ = CreateWizardList(panel4_, kLv3, 0, 32, 525, 201, true, nullptr, columns, 3);
  lvclean_ = CreateWizardList(panel4_, kLvclean, 0, 32, 525, 201, false, imageList1_.get(), columns, 3);
  CreateBar(pb_, panel4_, kPB, 0, 240, 525);
  // The longest text of the page wraps to a second line in some fonts.
  CreateChild(panel4_, "STATIC", "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 264, 529, 17, kLabel10);
}

void TMainForm::CreateButtons() {
  CreateChild(hwnd_, "STATIC", "", WS_VISIBLE | SS_ETCHEDHORZ, 8, 360, 525, 2, kBevel1);
  struct Button {
    int id;
    const char* text;
    int x;
    bool visible;
  };
  const Button buttons[] = {{kBackbtn, "< Back", 104, false}, {kNextbtn, "Next >", 184, true},
                            {kFinishBtn, "Finish", 184, false}, {kClosebtn, "Close", 296, true},
                            {kHelpbtn, "Help", 376, true},     {kAboutbtn, "About", 456, true}};
  for (const Button& b : buttons)
    CreateChild(hwnd_, "BUTTON", b.text, (b.visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_PUSHBUTTON, b.x, 368, 75,
                25, b.id);
}

HWND TMainForm::ControlParent(int id) const {
  switch (id) {
    case kLvall: case kLabel1: case kLabel2: case kLabel3: case kLabel4: case kLabel5: case kLabel6: return panel2_;
    case kLv2: case kPB2: case kLabel7: case kLabel8: return panel3_;
    case kLv3: case kLvclean: case kPB: case kLabel9: case kLabel10: return panel4_;
    case kImage2: return panel1_;
    case kImage1: return panelTop_;
    default: return hwnd_;
  }
}

void TMainForm::FormCreate() {
  state_ = 1;
  BuildCatalogue();
}

void TMainForm::BuildCatalogue() {
  for (const CatalogueRow& row : zarn::BuildCatalogue()) {
    int at = AddRow(lvall_, row.caption, true);
    SetCell(lvall_, at, 1, row.description);
  }
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

void TMainForm::Animate(HWND list, int row, int image, int progressColumn, TXiProgressBar& bar, bool cleaningPage) {
  for (int n = 0; n <= 100 && !quitting_; ++n) {
    if (!PumpMessages()) return;
    Sleep(5);
    bar.SetPosition(n + 100 * row);
    SetRowImage(list, row, n < 41 || n > 79 ? image : -1);
    SetCell(list, row, progressColumn, Percent(n));
    if (row > 0) {
      SetRowImage(list, row - 1, kImageDone);
      if (cleaningPage) SetCell(list, row - 1, 1, "0");
    }
    UpdateWindow(list);
  }
}

void TMainForm::StartScan() {
  int ticked = 0;
  for (int i = 0; i < RowCount(lvall_); ++i) ticked += RowTicked(lvall_, i);
  if (ticked == 0) {
    ShowMessage(hwnd_, "Please Select Category !");
    return;
  }
  ListView_DeleteAllItems(lv2_);
  for (int i = 0; i < RowCount(lvall_); ++i)
    if (RowTicked(lvall_, i)) SetCell(lv2_, AddRow(lv2_, Cell(lvall_, i, 0), false), 1, Percent(0));

  state_ = 2;
  Show(panel2_, false);
  Show(panel3_, true);
  Show(Control(kBackbtn), true);
  EnableWindow(Control(kBackbtn), FALSE);
  EnableWindow(Control(kNextbtn), FALSE);
  pb2_.SetMax(RowCount(lv2_) * 100);
  SetWindowTextA(Control(kLabel7), "Scanning applications ...");
  SetWindowTextA(Control(kLabel8), "Please wait until complete scanning selected category.");

  for (int p = 0; p < RowCount(lv2_) && !quitting_; ++p) {
    Animate(lv2_, p, kImageScan, 1, pb2_, false);
    if (quitting_) return;
    SetRowImage(lv2_, p, kImageDone);
    if (TCategoryForm* form = FindCategoryForm(Cell(lv2_, p, 0))) form->ClickScan();
  }

  EnableWindow(Control(kBackbtn), TRUE);
  EnableWindow(Control(kNextbtn), TRUE);
  SetWindowTextA(Control(kLabel7), "Scan Complete");
  SetWindowTextA(Control(kLabel8), "Click Next to display all files found.");
}

void TMainForm::ShowResults() {
  state_ = 3;
  Show(panel4_, true);
  Show(panelTop_, true);
  Show(panel3_, false);
  Show(panel1_, false);
  SetWindowTextA(Control(kLabel9), "Double click category  name to show detail files");
  SetWindowTextA(Control(kLabel10),
                 "Please select the categories you would like to clean and then click Next to begin the cleaning Process ");
  Show(Control(kLabel10), true);
  Show(lv3_, true);
  Show(lvclean_, false);
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
  int ticked = 0;
  for (int i = 0; i < RowCount(lv3_); ++i) ticked += RowTicked(lv3_, i);
  if (ticked == 0) {
    ShowMessage(hwnd_, "Please Select Category !");
    return;
  }
  state_ = 4;
  ListView_DeleteAllItems(lvclean_);
  for (int i = 0; i < RowCount(lv3_); ++i) {
    if (!RowTicked(lv3_, i)) continue;
    int row = AddRow(lvclean_, Cell(lv3_, i, 0), false);
    SetCell(lvclean_, row, 1, Cell(lv3_, i, 1));
    SetCell(lvclean_, row, 2, Percent(0));
  }
  EnableWindow(Control(kBackbtn), FALSE);
  EnableWindow(Control(kNextbtn), FALSE);
  Show(lvclean_, true);
  Show(lv3_, false);
  pb_.SetMax(RowCount(lvclean_) * 100);
  SetWindowTextA(Control(kLabel9), "Cleaning applications ...");
  SetWindowTextA(Control(kLabel10), "Please wait until complete cleaning selected category.");

  for (int p = 0; p < RowCount(lvclean_) && !quitting_; ++p) {
    Animate(lvclean_, p, kImageClean, 2, pb_, true);
    if (quitting_) return;
    SetRowImage(lvclean_, p, kImageDone);
    SetCell(lvclean_, p, 1, "0");
    if (TCategoryForm* form = FindCategoryForm(Cell(lvclean_, p, 0))) form->ClickDelete();
  }

  SetWindowTextA(Control(kLabel9), "Complete Cleaning");
  SetWindowTextA(Control(kLabel10), "You have finished cleaning selected category.");
  Show(Control(kFinishBtn), true);
  Show(Control(kNextbtn), false);
  EnableWindow(Control(kNextbtn), TRUE);
  EnableWindow(Control(kBackbtn), TRUE);
}

void TMainForm::nextbtnClick() {
  // The animation lets messages through; nothing may start a second run inside the first.
  if (busy_) return;
  busy_ = true;
  switch (state_) {
    case 1: StartScan(); break;
    case 2: ShowResults(); break;
    case 3: StartClean(); break;
    default: break;
  }
  busy_ = false;
}

void TMainForm::backbtnClick() {
  if (busy_) return;
  switch (state_) {
    case 2:
      state_ = 1;
      Show(panel3_, false);
      Show(panelTop_, false);
      Show(panel2_, true);
      break;
    case 3:
    case 4:
      if (state_ == 4) Show(lvclean_, false);
      state_ = 1;
      Show(panel4_, false);
      Show(panelTop_, false);
      Show(panel1_, true);
      Show(panel2_, true);
      Show(Control(kFinishBtn), false);
      break;
    default:
      return;
  }
  Show(Control(kBackbtn), false);
  Show(Control(kNextbtn), true);
  EnableWindow(Control(kNextbtn), TRUE);
}

void TMainForm::finishBtnClick() { PostQuitMessage(0); }

void TMainForm::closebtnClick() { ExitProcess(0); }

void TMainForm::helpbtnClick() { OpenWebSite(); }

void TMainForm::aboutbtnClick() {
  if (Formabout) Formabout->ShowAbout();
}

void TMainForm::lv3DblClick() {
  if (busy_ || state_ != 3) return;
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
      // FormClose: closing the main window ends the program at once.
      ExitProcess(0);
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace zarn
