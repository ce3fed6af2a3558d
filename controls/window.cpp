#include "controls/window.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zarn {

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The message by which a window of ours names its object.
UINT ObjectMessage() {
  static const UINT message = RegisterWindowMessageA("ZarnWindowObject");
  return message;
}

std::vector<HWND>& DialogWindows() {
  static std::vector<HWND> windows;
  return windows;
}

void DropDialogWindow(HWND hwnd) {
  auto& windows = DialogWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
}

struct DialogKeySearch {
  UINT vk;
  bool modifiers;
  HWND focus;
  Window* first;
  Window* focused;
};

BOOL CALLBACK FindDialogKeyTaker(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<DialogKeySearch*>(lParam);
  Window* window = Window::FromHandle(hwnd);
  if (!window || !window->TakesDialogKey(s->vk, s->modifiers)) return TRUE;
  if (hwnd == s->focus) {
    s->focused = window;
    return FALSE;
  }
  if (!s->first) s->first = window;
  return TRUE;
}

}  // namespace

Window::~Window() {
  if (HWND hwnd = Detach()) DestroyWindow(hwnd);
}

bool Window::RegisterWindowClass(const char* className, HICON icon, HBRUSH background, UINT style) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, className, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = ClassThunk;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExA(&wc) != 0;
}

bool Window::CreateFor(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                       int height, HWND parent, int id) {
  if (hwnd_) return false;
  CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
  return hwnd_ != nullptr;
}

bool Window::Subclass(HWND hwnd) {
  if (hwnd_ || !hwnd || !SetWindowSubclass(hwnd, SubclassThunk, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = hwnd;
  subclassed_ = true;
  return true;
}

HWND Window::Detach() {
  HWND hwnd = std::exchange(hwnd_, nullptr);
  if (!hwnd) return nullptr;
  // No message may reach an object that is going away or whose window is.
  if (subclassed_)
    RemoveWindowSubclass(hwnd, SubclassThunk, kSubclassId);
  else
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DropDialogWindow(hwnd);
  return hwnd;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
      break;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

Window* Window::FromHandle(HWND hwnd) {
  // The route answers this message with the object; any other window knows nothing of it
  // and answers 0. Every object of ours lives on the one thread: asking another thread's
  // window would only wait for that thread.
  if (!hwnd || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  return reinterpret_cast<Window*>(SendMessageA(hwnd, ObjectMessage(), 0, 0));
}

bool Window::TakesDialogKey(UINT, bool) const { return false; }

void Window::OnDialogKey(UINT) {}

bool Window::OnCommand(int, int, HWND) { return false; }

bool Window::OnNotify(const NMHDR*, LRESULT*) { return false; }

void Window::OnFinalMessage(HWND) {}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return subclassed_ ? DefSubclassProc(hwnd_, message, wParam, lParam) : DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::ClassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self && !self->hwnd_) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, message, wParam, lParam);
  return Route(self, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR refData) {
  auto* self = reinterpret_cast<Window*>(refData);
  if (!self || self->hwnd_ != hwnd) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SubclassThunk, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return Route(self, hwnd, message, wParam, lParam);
}

LRESULT Window::Route(Window* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool subclassed = self->subclassed_;
  auto original = [&] {
    return subclassed ? DefSubclassProc(hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
  };
  if (const UINT asked = ObjectMessage(); asked && message == asked) return reinterpret_cast<LRESULT>(self);
  // An exception thrown back through user32 ends the process under Wine: stop it here.
  try {
    if (message == WM_NCDESTROY) {
      self->Detach();
      self->OnFinalMessage(hwnd);
      return original();
    }
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return original();
  }
}

void AddDialogWindow(HWND hwnd) {
  if (hwnd && !IsDialogWindow(hwnd)) DialogWindows().push_back(hwnd);
}

bool IsDialogWindow(HWND hwnd) {
  const auto& windows = DialogWindows();
  return std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

bool RouteDialogMessage(MSG* msg) {
  const bool dialogKey = msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
  // By index: a window the dialog manager's work destroys leaves the list meanwhile.
  auto& windows = DialogWindows();
  for (size_t i = 0; i < windows.size(); ++i) {
    HWND hwnd = windows[i];
    if (!IsWindowVisible(hwnd) || (msg->hwnd != hwnd && !IsChild(hwnd, msg->hwnd))) continue;
    // A key the rule has handled reaches neither the dialog manager nor the focused window.
    if (dialogKey && SendDialogKey(hwnd, static_cast<UINT>(msg->wParam))) return true;
    if (IsDialogMessageA(hwnd, msg)) return true;
  }
  return false;
}

bool SendDialogKey(HWND top, UINT vk) {
  if (!top || (vk != VK_RETURN && vk != VK_ESCAPE)) return false;
  const bool modifiers =
      (GetKeyState(VK_SHIFT) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000);
  DialogKeySearch search{vk, modifiers, GetFocus(), nullptr, nullptr};
  EnumChildWindows(top, FindDialogKeyTaker, reinterpret_cast<LPARAM>(&search));
  Window* target = search.focused ? search.focused : search.first;
  if (!target) return false;
  target->OnDialogKey(vk);
  return true;
}

}  // namespace zarn
