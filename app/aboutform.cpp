#include "app/aboutform.h"

#include "app/jpeg_image.h"
#include "app/utama.h"
#include "res/resource.h"

namespace zarn {

bool TFormabout::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass("TFormabout", LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP)), GetSysColorBrush(COLOR_BTNFACE));
  if (!CreateTopLevel("TFormabout", "Zarn Cleaner - About", WS_CAPTION | WS_SYSMENU, WS_EX_CONTROLPARENT, 402, 270,
                      ApplicationWindow()))
    return false;
  banner_.reset(LoadJpegBitmap(instance, IDR_BANNER_ABOUT));

  panel1_ = CreatePanel(hwnd_, 16, 8, 361, 217, PanelEdge::RaisedInnerLoweredOuter, GetSysColor(COLOR_BTNFACE), kPanel1);
  panel2_ = CreatePanel(panel1_, 0, 16, 393, 57, PanelEdge::None, GetSysColor(COLOR_BTNFACE), kPanel2);
  HWND image = CreateChild(panel2_, "STATIC", "", WS_VISIBLE | SS_BITMAP | SS_REALSIZECONTROL, 0, 0, 393, 57, kImage1);
  SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));
  MoveWindow(image, 0, 0, 393, 57, FALSE);
  ShowWindow(panel2_, SW_SHOWNA);

  struct Text {
    int id;
    const char* text;
    int x, y, width;
    HFONT font;
    DWORD extra;
  };
  const Text texts[] = {
      {kLabel1, kWebAddress, 16, 72, 200, BoldFont(8, true), SS_NOTIFY},
      {kLabel8, "Version 3.0", 16, 96, 200, nullptr, 0},
      {kLabel3, "WARNING :", 16, 120, 200, BoldFont(9), 0},
      {kLabel4, "Cleaning deletes the selected files and registry entries for good.", 16, 136, 340, nullptr, 0},
      {kLabel5, "Review the traces of each category before you clean them.", 16, 152, 340, nullptr, 0},
      {kLabel6, "Questions, ideas or bug reports? Please write to us at:", 16, 176, 250, nullptr, 0},
      {kLabel7, "support@zarncleaner.com", 16, 192, 250, BoldFont(), 0},
      {kLabel2, "(c) 2008 Zarn Software", 224, 72, 130, nullptr, 0},
  };
  for (const Text& t : texts) {
    HWND label = CreateChild(panel1_, "STATIC", t.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | t.extra, t.x, t.y,
                             t.width, 16, t.id);
    if (t.font) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(t.font), FALSE);
  }
  CreateChild(panel1_, "BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 272, 184, 75, 25, kButton1);
  ShowWindow(panel1_, SW_SHOWNA);
  AddDialogWindow(hwnd_);
  return true;
}

HWND TFormabout::Control(int id) const {
  if (id == kPanel1) return panel1_;
  if (id == kPanel2) return panel2_;
  if (id == kImage1) return GetDlgItem(panel2_, id);
  return GetDlgItem(panel1_, id);
}

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
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace zarn
