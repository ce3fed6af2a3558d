#include "controls/child_windows.h"

#include <memory>
#include <vector>

#include "controls/dpi_layout.h"
#include "controls/form.h"
#include "controls/gdi.h"
#include "controls/window.h"

namespace zarn {

namespace {

// A panel's object belongs to its window and goes with it.
class Panel : public Window {
 public:
  Panel(PanelEdge edge, COLORREF color) : edge_(edge), brush_(CreateSolidBrush(color)) {}

  bool Create(HWND parent, int x, int y, int width, int height, int id) {
    static const char kPanelClass[] = "ZarnPanel";
    return RegisterWindowClass(kPanelClass, nullptr, nullptr) &&
           CreateFor(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_CLIPSIBLINGS, x, y, width, height, parent, id);
  }
  // From now on the window deletes the object when it is destroyed.
  HWND GiveToWindow() {
    ownedByWindow_ = true;
    return hwnd_;
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(dc, &r, brush_.get());
        switch (edge_) {
          case PanelEdge::None: break;
          case PanelEdge::SunkenDouble: DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT); break;
          case PanelEdge::LoweredInner: DrawEdge(dc, &r, BDR_SUNKENINNER, BF_RECT); break;
          case PanelEdge::RaisedInnerLoweredOuter: DrawEdge(dc, &r, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT); break;
        }
        return 1;
      }
      case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(brush_.get());
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM: return SendMessageA(GetParent(hwnd_), message, wParam, lParam);
    }
    return DefaultProc(message, wParam, lParam);
  }
  void OnFinalMessage(HWND) override {
    if (ownedByWindow_) delete this;
  }

 private:
  bool ownedByWindow_ = false;
  PanelEdge edge_;
  gdi::unique_hbrush brush_;
};

}  // namespace

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id, DWORD exStyle, FontKind font) {
  HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!child) return nullptr;
  // Outside a form, the fonts of the DPI the program started at.
  DpiLayout* layout = Form::LayoutOf(parent);
  const dpi::UiFonts& fonts = layout ? layout->Fonts() : dpi::FontsFor(dpi::SystemDpi());
  if (HFONT shown = fonts.Of(font)) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
  if (layout) layout->Place(child, x, y, width, height, font);
  return child;
}

HWND CreatePanel(HWND parent, int x, int y, int width, int height, PanelEdge edge, COLORREF color, int id) {
  auto panel = std::make_unique<Panel>(edge, color);
  if (!panel->Create(parent, x, y, width, height, id)) return nullptr;
  HWND hwnd = panel.release()->GiveToWindow();
  if (DpiLayout* layout = Form::LayoutOf(parent)) layout->Place(hwnd, x, y, width, height, FontKind::None);
  return hwnd;
}

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::vector<char> text(n + 1);
  GetWindowTextA(hwnd, text.data(), n + 1);
  return std::string(text.data());
}

HWND FindControl(HWND parent, int id) {
  if (!parent) return nullptr;
  if (HWND direct = GetDlgItem(parent, id)) return direct;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (HWND found = FindControl(child, id)) return found;
  return nullptr;
}

}  // namespace zarn
