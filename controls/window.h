#pragma once
// The one route by which messages reach the program's objects. A window of one of our own
// classes is created with its object; a real control that must behave differently (the
// trace list, the gradient button) is subclassed onto its object. Either way the message
// goes to the object's HandleMessage, guarded so that no exception travels back through
// user32, and WM_NCDESTROY parts window and object in one place.
#include <windows.h>

#include <commctrl.h>

namespace zarn {

class Window {
 public:
  Window() = default;
  // Parts from the window and destroys it, if it still exists.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // The object of one of our windows, class-made or subclassed; null for any other window.
  static Window* FromHandle(HWND hwnd);

  // The dialog-key rule, applied where messages are dispatched: whether this window takes
  // Enter (VK_RETURN) or Escape (VK_ESCAPE) pressed anywhere in its top-level window before
  // the dialog manager sees it, and what it does with the key.
  virtual bool TakesDialogKey(UINT vk, bool modifiersHeld) const;
  virtual void OnDialogKey(UINT vk);

 protected:
  // Registers `className` once per process with the class thunk; false if it cannot.
  static bool RegisterWindowClass(const char* className, HICON icon, HBRUSH background, UINT style = 0);
  // Creates a window of a registered class for this object.
  bool CreateFor(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                 int height, HWND parent, int id = 0);
  // Routes the messages of an existing control to this object; false if it cannot.
  bool Subclass(HWND hwnd);
  // Parts from the window without destroying it and returns it.
  HWND Detach();

  // The object's messages. The base unpacks WM_COMMAND and WM_NOTIFY into the two calls
  // below and passes the rest on to DefaultProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // True when the command was the object's.
  virtual bool OnCommand(int id, int code, HWND control);
  // True when the notification was the object's; *result is then what to answer.
  virtual bool OnNotify(const NMHDR* header, LRESULT* result);
  // After WM_NCDESTROY has parted window and object; the object may delete itself here.
  virtual void OnFinalMessage(HWND hwnd);
  // The window's own processing: the class default, or the subclassed control's.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK ClassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR refData);
  static LRESULT Route(Window* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  bool subclassed_ = false;
};

// Windows whose keyboard navigation (Tab, Enter, Escape) the message loop hands to
// IsDialogMessage. A window leaves the list when it is destroyed.
void AddDialogWindow(HWND hwnd);
bool IsDialogWindow(HWND hwnd);
// For the message loop: true when the message was a dialog window's and is handled. Enter
// and Escape go to the dialog-key rule first; what no window takes goes on to the dialog
// manager, which sends the window IDOK or IDCANCEL.
bool RouteDialogMessage(MSG* msg);

// Enter or Escape for the windows inside `top`: the focused window that takes the key, else
// the first that does, gets it. True if one took it.
bool SendDialogKey(HWND top, UINT vk);

}  // namespace zarn
