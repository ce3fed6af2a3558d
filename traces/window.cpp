#include "traces/window.h"

#include <vector>

#include "controls/gdi.h"

namespace zarn {

Window::~Window() {
  if (hwnd_) {
    // No message may reach an object that is being destroyed.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::RegisterWindowClass(const char* className, HICON icon, HBRUSH background) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Thunk;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

bool Window::CreateTopLevel(const char* className, const char* title, DWORD style, DWORD exStyle,
                            int width, int height, HWND owner) {
  hwnd_ = CreateWindowExA(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                          height, owner, nullptr, GetModuleHandleA(nullptr), this);
  if (hwnd_) CentreOnScreen(hwnd_);
  return hwnd_ != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  // An exception thrown through user32 ends the process under Wine: stop it here.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

namespace {

HFONT MakeFont(int points, int weight, bool underline) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

struct PanelData {
  PanelEdge edge;
  COLORREF color;
  gdi::unique_hbrush brush;
};

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<PanelData*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case WM_NCDESTROY:
      if (data) {
        delete data;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      }
      break;
    case WM_ERASEBKGND:
      if (data) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, data->brush.get());
        switch (data->edge) {
          case PanelEdge::None: break;
          case PanelEdge::SunkenDouble: DrawEdge(reinterpret_cast<HDC>(wParam), &r, EDGE_SUNKEN, BF_RECT); break;
          case PanelEdge::LoweredInner: DrawEdge(reinterpret_cast<HDC>(wParam), &r, BDR_SUNKENINNER, BF_RECT); break;
          case PanelEdge::RaisedInnerLoweredOuter:
            DrawEdge(reinterpret_cast<HDC>(wParam), &r, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
            break;
        }
        return 1;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (data) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(data->brush.get());
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return SendMessageA(GetParent(hwnd), message, wParam, lParam);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HFONT DialogFont() {
  static HFONT font = MakeFont(8, FW_NORMAL, false);
  return font;
}

HFONT BoldFont(int points, bool underline) {
  static HFONT bold8 = MakeFont(8, FW_BOLD, false);
  static HFONT bold8u = MakeFont(8, FW_BOLD, true);
  static HFONT bold9 = MakeFont(9, FW_BOLD, false);
  if (points == 9) return bold9;
  return underline ? bold8u : bold8;
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | style, x, y, width, height,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  return child;
}

HWND CreatePanel(HWND parent, int x, int y, int width, int height, PanelEdge edge, COLORREF color,
                 int id) {
  static const char kPanelClass[] = "ZarnPanel";
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(GetModuleHandleA(nullptr), kPanelClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kPanelClass;
    RegisterClassExA(&wc);
  }
  auto* data = new PanelData{edge, color, gdi::unique_hbrush(CreateSolidBrush(color))};
  HWND panel = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_CLIPSIBLINGS,
                               x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), data);
  if (!panel) delete data;
  return panel;
}

void CentreOnScreen(HWND hwnd) {
  RECT work, r;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::vector<char> text(n + 1);
  GetWindowTextA(hwnd, text.data(), n + 1);
  return std::string(text.data());
}

}  // namespace zarn

namespace zarn {
namespace {
std::vector<HWND>& DialogWindows() {
  static std::vector<HWND> windows;
  return windows;
}
}  // namespace

namespace {
HWND g_applicationWindow = nullptr;
}
void SetApplicationWindow(HWND hwnd) { g_applicationWindow = hwnd; }
HWND ApplicationWindow() { return g_applicationWindow; }

void AddDialogWindow(HWND hwnd) { DialogWindows().push_back(hwnd); }

bool RouteDialogMessage(MSG* msg) {
  for (HWND hwnd : DialogWindows())
    if (IsWindowVisible(hwnd) && (msg->hwnd == hwnd || IsChild(hwnd, msg->hwnd)) &&
        IsDialogMessageA(hwnd, msg))
      return true;
  return false;
}
}  // namespace zarn
