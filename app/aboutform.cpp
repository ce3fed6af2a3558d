#include "app/aboutform.h"

#include "app/dpi_images.h"
#include "app/label_table.h"
#include "app/utama.h"
#include "res/resource.h"

namespace zarn {

namespace {

const LabelSpec kTexts[] = {
    {TFormabout::kLabel1, kWebAddress, 16, 72, 200, 16, FontKind::BoldUnderline, SS_NOTIFY},
    {TFormabout::kLabel8, "Version 3.0", 16, 96, 200, 16},
    {TFormabout::kLabel3, "WARNING :", 16, 120, 200, 16, FontKind::Bold9},
    {TFormabout::kLabel4, "Cleaning deletes the selected files and registry data for good.", 16, 136, 340, 16},
    {TFormabout::kLabel5, "Review the traces of each category before you clean them.", 16, 152, 340, 16},
    {TFormabout::kLabel6, "Questions or bug reports? Write to us at:", 16, 176, 250, 16},
    {TFormabout::kLabel7, "support@zarncleaner.com", 16, 192, 250, 16, FontKind::Bold},
    {TFormabout::kLabel2, "(c) 2008 Zarn Software", 224, 72, 130, 16},
};

}  // namespace

bool TFormabout::Create() {
  return CreateForm({.className = "TFormabout",
                     .title = "Zarn Cleaner - About",
                     .style = WS_CAPTION | WS_SYSMENU,
                     .width = 402,
                     .height = 270,
                     .iconId = IDI_APP});
}

void TFormabout::CreateControls() {
  panel1_ =
      CreatePanel(hwnd_, 16, 8, 361, 217, PanelEdge::RaisedInnerLoweredOuter, GetSysColor(COLOR_BTNFACE), kPanel1);
  // The banner spans the box's whole width, over the framed panel.
  panel2_ = CreatePanel(hwnd_, 0, 16, 393, 57, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel2);
  SetWindowPos(panel2_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CreateChild(panel2_, "STATIC", "", WS_VISIBLE | SS_BITMAP | SS_REALSIZECONTROL, 0, 0, 393, 57, kImage1);
  ShowWindow(panel2_, SW_SHOWNA);

  CreateLabels(panel1_, kTexts);
  CreateChild(panel1_, "BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 272, 184, 75, 25, kButton1);
  ShowWindow(panel1_, SW_SHOWNA);
}

void TFormabout::ApplyDpi(bool) {
  const int width = layout_.Scale(393), height = layout_.Scale(57);
  gdi::unique_hbitmap banner(LoadBanner(IDR_BANNER_ABOUT, IDR_BANNER_ABOUT_2X, width, height, layout_.Dpi()));
  HWND image = Control(kImage1);
  SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner.get()));
  // The picture control takes the bitmap's size; it keeps the banner's place instead.
  MoveWindow(image, 0, 0, width, height, FALSE);
  banner_ = std::move(banner);
}

HWND TFormabout::Control(int id) const { return FindControl(hwnd_, id); }

void TFormabout::ShowAbout() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  BringWindowToTop(hwnd_);
}

void TFormabout::Button1Click() { ShowWindow(hwnd_, SW_HIDE); }

void TFormabout::Label1Click() { OpenWebSite(); }

bool TFormabout::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kButton1:
    case IDOK:
    case IDCANCEL: Button1Click(); return true;
    case kLabel1:
      if (code == STN_CLICKED) Label1Click();
      return true;
  }
  return false;
}

LRESULT TFormabout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Control(kLabel1)) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    case WM_CLOSE: Button1Click(); return 0;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace zarn
