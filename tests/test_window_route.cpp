// The one route into the program's window objects: commands and notifications unpacked,
// exceptions stopped at the user32 boundary, a handle leading to its object, and window and
// object parted at WM_NCDESTROY.
#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/window.h"

using namespace zarn;

namespace {

class Probe : public Window {
 public:
  bool CreateTop() {
    return RegisterWindowClass("ZarnRouteProbe", nullptr, nullptr) &&
           CreateFor(0, "ZarnRouteProbe", "probe", WS_OVERLAPPED, 0, 0, 100, 100, nullptr);
  }
  bool Hook(HWND control) { return Subclass(control); }
  HWND Unhook() { return Detach(); }

  int id = 0, code = 0, finals = 0;
  HWND control = nullptr;
  bool throwing = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER && throwing) throw std::runtime_error("handler failed");
    if (message == WM_GETTEXTLENGTH && throwing) throw 7;
    return Window::HandleMessage(message, wParam, lParam);
  }
  bool OnCommand(int i, int c, HWND from) override {
    id = i, code = c, control = from;
    return i == 42;
  }
  bool OnNotify(const NMHDR* header, LRESULT* result) override {
    if (header->code != NM_DBLCLK) return false;
    *result = 1234;
    return true;
  }
  void OnFinalMessage(HWND) override { ++finals; }
};

TEST(WindowRoute, CommandsAndNotificationsArriveUnpacked) {
  Probe probe;
  ASSERT_TRUE(probe.CreateTop());
  HWND from = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(SendMessageA(probe.Handle(), WM_COMMAND, MAKEWPARAM(42, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(from)),
            0);
  EXPECT_EQ(probe.id, 42);
  EXPECT_EQ(probe.code, BN_DOUBLECLICKED);
  EXPECT_EQ(probe.control, from);
  NMHDR header{probe.Handle(), 7, static_cast<UINT>(NM_DBLCLK)};
  EXPECT_EQ(SendMessageA(probe.Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 1234);
  header.code = static_cast<UINT>(NM_CLICK);
  EXPECT_EQ(SendMessageA(probe.Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 0);
}

TEST(WindowRoute, AnExceptionStopsAtTheWindowProcedure) {
  Probe probe;
  ASSERT_TRUE(probe.CreateTop());
  HWND button = CreateWindowExA(0, "BUTTON", "abc", WS_CHILD, 0, 0, 10, 10, probe.Handle(), nullptr, nullptr, nullptr);
  Probe hooked;
  ASSERT_TRUE(hooked.Hook(button));
  probe.throwing = hooked.throwing = true;
  // The window's own procedure answers instead: the class default, or the control's.
  EXPECT_EQ(SendMessageA(probe.Handle(), WM_USER, 0, 0), 0);
  EXPECT_EQ(SendMessageA(button, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST(WindowRoute, AHandleLeadsToItsObjectOnlyWhileTheyAreOne) {
  Probe probe;
  ASSERT_TRUE(probe.CreateTop());
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, probe.Handle(), nullptr, nullptr, nullptr);
  EXPECT_EQ(Window::FromHandle(button), nullptr) << "a window of another class, not ours";
  Probe hooked;
  ASSERT_TRUE(hooked.Hook(button));
  EXPECT_EQ(Window::FromHandle(probe.Handle()), &probe);
  EXPECT_EQ(Window::FromHandle(button), &hooked);
  EXPECT_EQ(hooked.Unhook(), button);
  EXPECT_EQ(Window::FromHandle(button), nullptr);
  EXPECT_EQ(Window::FromHandle(nullptr), nullptr);
}

TEST(WindowRoute, DestroyingTheWindowPartsItFromItsObjectOnce) {
  Probe probe;
  ASSERT_TRUE(probe.CreateTop());
  HWND hwnd = probe.Handle();
  AddDialogWindow(hwnd);
  AddDialogWindow(hwnd);
  ASSERT_TRUE(IsDialogWindow(hwnd));
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
  Probe hooked;
  ASSERT_TRUE(hooked.Hook(button));

  DestroyWindow(hwnd);
  EXPECT_FALSE(IsDialogWindow(hwnd));
  EXPECT_EQ(probe.Handle(), nullptr);
  EXPECT_EQ(hooked.Handle(), nullptr);
  EXPECT_EQ(probe.finals, 1);
  EXPECT_EQ(hooked.finals, 1);
  // The objects outlive their windows and are destroyed without touching them.
}

TEST(WindowRoute, ObjectsLeaveTheirWindowsWhenDestroyedOrDetached) {
  HWND top, button;
  {
    Probe probe;
    ASSERT_TRUE(probe.CreateTop());
    top = probe.Handle();
    AddDialogWindow(top);
    button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    Probe hooked;
    ASSERT_TRUE(hooked.Hook(button));
    EXPECT_EQ(hooked.Unhook(), button);
    EXPECT_TRUE(IsWindow(button));
    hooked.throwing = true;
    EXPECT_EQ(SendMessageA(button, WM_GETTEXTLENGTH, 0, 0), 0) << "the control no longer reaches the object";
    ASSERT_TRUE(hooked.Hook(button));
  }
  // The subclassed control went with its object; the top-level window and its list entry too.
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(button));
  EXPECT_FALSE(IsDialogWindow(top));
}

}  // namespace
