// The gradient button as a real window: its state machine and clicks, driven by window
// messages, and Enter/Escape through the program's message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "controls/gdi.h"
#include "controls/xibutton.h"
#include "tests/support/canvas.h"

namespace zarn {
namespace {

using Btn = TXiButton;
using C = XiButtonColor;

constexpr int kOk = 101;
constexpr int kCancel = 102;
constexpr int kEdit = 103;

// Every WM_COMMAND the form sees: (id, code).
std::vector<std::pair<int, int>> g_commands;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

int Clicks(int id) {
  int n = 0;
  for (const auto& c : g_commands)
    if (c.first == id && c.second == BN_CLICKED) ++n;
  return n;
}

// Clicks of any id, including the dialog manager's IDOK and IDCANCEL (code 0 as well).
size_t AllClicks() {
  size_t n = 0;
  for (const auto& c : g_commands) n += c.second == BN_CLICKED;
  return n;
}

LPARAM At(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// One form for the whole suite: under Wine without a window manager every top-level
// window costs seconds to create and destroy. Each case gets a fresh button.
class XiButtonWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZarnControlsTestForm";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);
    form_ = CreateWindowExA(0, wc.lpszClassName, "form", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200, nullptr, nullptr,
                            wc.hInstance, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 100, 100, 20, form_,
                            reinterpret_cast<HMENU>(kEdit), wc.hInstance, nullptr);
    AddDialogWindow(form_);
    SetForegroundWindow(form_);
    SetActiveWindow(form_);
  }
  static void TearDownTestSuite() { DestroyWindow(form_); }

  void SetUp() override {
    ASSERT_NE(form_, nullptr);
    ASSERT_NE(edit_, nullptr);
    ASSERT_TRUE(ok_.Create(form_, kOk, "&Go", 10, 10));
    ok_.SetColorScheme(Btn::csNeoSilver);
    SetFocus(edit_);
    Pump();
    g_commands.clear();
  }

  // The form's message loop: the dialog-key rule and the dialog manager first, as the
  // program's loop does.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!RouteDialogMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  void Focus(HWND hwnd) {
    SetFocus(hwnd);
    ASSERT_EQ(GetFocus(), hwnd);
  }
  void Key(HWND target, UINT vk) {
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    Pump();
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    Pump();
  }
  COLORREF PrintedPixel(const Btn& b, int x, int y) {
    test::Canvas canvas(Btn::DefaultWidth, Btn::DefaultHeight);
    SendMessageA(b.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.At(x, y);
  }

  static inline HWND form_ = nullptr;
  static inline HWND edit_ = nullptr;
  Btn ok_;
};

TEST_F(XiButtonWindow, IsARealOwnerDrawnButtonOfDefaultSize) {
  char name[16] = {};
  GetClassNameA(ok_.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "Button");
  EXPECT_EQ(GetWindowLongPtrA(ok_.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  RECT client{};
  GetClientRect(ok_.Handle(), &client);
  EXPECT_EQ(client.right, 75);
  EXPECT_EQ(client.bottom, 25);
  EXPECT_EQ(Btn::FromHandle(ok_.Handle()), &ok_);
  EXPECT_EQ(Btn::FromHandle(edit_), nullptr);
  EXPECT_NE(SendMessageA(ok_.Handle(), WM_ERASEBKGND, 0, 0), 0);
  EXPECT_EQ(ok_.Caption(), "&Go");
  // A dialog manager's attempt to make it a default push button keeps it owner-drawn.
  SendMessageA(ok_.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongPtrA(ok_.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

  MSG enter{ok_.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  MSG escape{ok_.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_EQ(SendMessageA(ok_.Handle(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)),
            DLGC_BUTTON | DLGC_WANTMESSAGE);
  EXPECT_EQ(SendMessageA(ok_.Handle(), WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)), DLGC_BUTTON);
}

TEST_F(XiButtonWindow, PressLeaveAndReleaseOutsideGivesNoClick) {
  HWND b = ok_.Handle();
  SendMessageA(b, WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_EQ(ok_.VisualState(), Btn::vsHot);
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(ok_.VisualState(), Btn::vsDown);
  EXPECT_TRUE(ok_.Pressed());
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(GetFocus(), b);
  SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(-10, 5));
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  // Back in while still pressed: down again; out once more.
  SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(6, 6));
  EXPECT_EQ(ok_.VisualState(), Btn::vsDown);
  SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(100, 6));
  SendMessageA(b, WM_LBUTTONUP, 0, At(100, 6));
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  EXPECT_FALSE(ok_.Pressed());
  EXPECT_NE(GetCapture(), b);
  Pump();
  EXPECT_EQ(Clicks(kOk), 0);
}

TEST_F(XiButtonWindow, ReleaseInsideClicksOnceAndShowsHot) {
  HWND b = ok_.Handle();
  ok_.SetModalResult(IDOK);
  SendMessageA(b, WM_MOUSEMOVE, 0, At(20, 10));
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
  SendMessageA(b, WM_LBUTTONUP, 0, At(20, 10));
  EXPECT_EQ(Clicks(kOk), 1);
  EXPECT_EQ(ok_.VisualState(), Btn::vsHot);
  EXPECT_EQ(ok_.LastModalResult(), IDOK);
  EXPECT_FALSE(ok_.Pressed());

  // On the edge pixel it still clicks, but the hot state needs the pointer strictly inside.
  SendMessageA(b, WM_MOUSELEAVE, 0, 0);
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(0, 0));
  SendMessageA(b, WM_LBUTTONUP, 0, At(0, 0));
  EXPECT_EQ(Clicks(kOk), 2);
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);

  // A right click neither presses nor clicks.
  SendMessageA(b, WM_RBUTTONDOWN, MK_RBUTTON, At(20, 10));
  EXPECT_FALSE(ok_.Pressed());
  SendMessageA(b, WM_RBUTTONUP, 0, At(20, 10));
  EXPECT_EQ(Clicks(kOk), 2);
}

TEST_F(XiButtonWindow, WithoutHotTrackTheMouseOverShowsNormal) {
  ok_.SetHotTrack(false);
  SendMessageA(ok_.Handle(), WM_MOUSEMOVE, 0, At(20, 10));
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  SendMessageA(ok_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
  SendMessageA(ok_.Handle(), WM_LBUTTONUP, 0, At(20, 10));
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  EXPECT_EQ(Clicks(kOk), 1);
}

TEST_F(XiButtonWindow, SpaceShowsDownAndClicksOnceOnRelease) {
  Focus(ok_.Handle());
  PostMessageA(ok_.Handle(), WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_EQ(ok_.VisualState(), Btn::vsDown);
  EXPECT_EQ(Clicks(kOk), 0);
  EXPECT_EQ(PrintedPixel(ok_, 1, 10), 0x7C7C7Cu);  // the down set's Light
  PostMessageA(ok_.Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  Pump();
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  EXPECT_EQ(Clicks(kOk), 1);
  EXPECT_EQ(AllClicks(), 1u);
}

TEST_F(XiButtonWindow, EnterOnTheFocusedButtonClicksExactlyOnce) {
  Focus(ok_.Handle());
  Key(ok_.Handle(), VK_RETURN);
  EXPECT_EQ(Clicks(kOk), 1);
  EXPECT_EQ(AllClicks(), 1u) << "the dialog manager sent IDOK as well";

  // Also without a dialog manager.
  SendMessageA(ok_.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(ok_.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(Clicks(kOk), 2);
}

TEST_F(XiButtonWindow, EscapeClicksTheCancelButton) {
  Btn cancel;
  ASSERT_TRUE(cancel.Create(form_, kCancel, "Cancel", 100, 10));
  Focus(ok_.Handle());
  Key(ok_.Handle(), VK_ESCAPE);
  EXPECT_EQ(Clicks(kCancel), 0);
  EXPECT_EQ(Clicks(IDCANCEL), 1);  // no Cancel button: the form's own handling

  g_commands.clear();
  cancel.SetCancel(true);
  Key(ok_.Handle(), VK_ESCAPE);
  EXPECT_EQ(Clicks(kCancel), 1);
  EXPECT_EQ(Clicks(kOk), 0);
  EXPECT_EQ(AllClicks(), 1u);

  // Without a dialog manager Escape on a focused button still finds the Cancel button.
  SendMessageA(ok_.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(Clicks(kCancel), 2);

  // A Cancel button that cannot take the focus is passed over.
  g_commands.clear();
  cancel.SetEnabled(false);
  Key(edit_, VK_ESCAPE);
  EXPECT_EQ(Clicks(kCancel), 0);
  EXPECT_EQ(Clicks(IDCANCEL), 1);
}

TEST_F(XiButtonWindow, EnterElsewhereClicksTheDefaultButton) {
  Focus(edit_);
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(kOk), 0);
  EXPECT_EQ(Clicks(IDOK), 1);

  g_commands.clear();
  ok_.SetDefault(true);
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(kOk), 1);
  EXPECT_EQ(AllClicks(), 1u);

  g_commands.clear();
  ShowWindow(ok_.Handle(), SW_HIDE);
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(kOk), 0);
  EXPECT_EQ(Clicks(IDOK), 1);
}

TEST_F(XiButtonWindow, ButtonWithTheIdOfOkIsClickedOnceNotRerouted) {
  Btn named;
  ASSERT_TRUE(named.Create(form_, IDOK, "OK", 100, 10));
  named.SetDefault(true);
  SendMessageA(named.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks(IDOK), 1);
  EXPECT_EQ(AllClicks(), 1u);
}

TEST_F(XiButtonWindow, BmClickAndAcceleratorClickOnlyWhenEnabled) {
  SendMessageA(ok_.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks(kOk), 1);
  Focus(edit_);
  PostMessageA(edit_, WM_SYSCHAR, 'g', 1 << 29);
  Pump();
  EXPECT_EQ(Clicks(kOk), 2);

  ok_.SetEnabled(false);
  SendMessageA(ok_.Handle(), BM_CLICK, 0, 0);
  PostMessageA(edit_, WM_SYSCHAR, 'g', 1 << 29);
  Pump();
  EXPECT_EQ(Clicks(kOk), 2);
}

TEST_F(XiButtonWindow, DisabledButtonPaintsTheDisabledSetEvenWhenHot) {
  SendMessageA(ok_.Handle(), WM_MOUSEMOVE, 0, At(20, 10));
  ASSERT_EQ(ok_.VisualState(), Btn::vsHot);
  EXPECT_EQ(PrintedPixel(ok_, 0, 10), 0x757575u);  // OverColorBorder
  EXPECT_EQ(PrintedPixel(ok_, 5, 12), test::GradientAt(0xF0F0F0, 0xA6A6A6, 25, 12));

  ok_.SetEnabled(false);
  EXPECT_EQ(ok_.VisualState(), Btn::vsHot);
  EXPECT_EQ(PrintedPixel(ok_, 0, 10), 0x808080u);
  EXPECT_EQ(PrintedPixel(ok_, 5, 12), test::GradientAt(0xEEEEEE, 0xFFFFFF, 25, 12));
  EXPECT_EQ(PrintedPixel(ok_, 1, 10), 0xFFFFFFu);
  EXPECT_EQ(PrintedPixel(ok_, 73, 10), 0xD2D2D2u);

  ok_.SetEnabled(true);
  EXPECT_EQ(PrintedPixel(ok_, 0, 10), 0x757575u);
}

TEST_F(XiButtonWindow, FocusDrawsTheRectangleAndLosingItResetsTheState) {
  Focus(ok_.Handle());
  EXPECT_TRUE(ok_.Focused());
  EXPECT_EQ(PrintedPixel(ok_, 3, 3), 0xADADADu);
  EXPECT_EQ(PrintedPixel(ok_, 71, 21), 0xADADADu);
  SendMessageA(ok_.Handle(), WM_MOUSEMOVE, 0, At(20, 10));
  ASSERT_EQ(ok_.VisualState(), Btn::vsHot);
  Focus(edit_);
  EXPECT_FALSE(ok_.Focused());
  EXPECT_EQ(ok_.VisualState(), Btn::vsNormal);
  EXPECT_EQ(PrintedPixel(ok_, 3, 3), test::GradientAt(0xF3F3F3, 0xBCBCBC, 25, 3));
}

TEST_F(XiButtonWindow, ObjectOutlivesItsWindow) {
  DestroyWindow(ok_.Handle());
  EXPECT_EQ(ok_.Handle(), nullptr);
  EXPECT_FALSE(ok_.CanFocus());
  EXPECT_TRUE(ok_.Enabled());
  ok_.SetColorScheme(Btn::csRose);
  ok_.Click();
  EXPECT_EQ(ok_.Caption(), "&Go");
  EXPECT_EQ(AllClicks(), 0u);
}

}  // namespace
}  // namespace zarn
