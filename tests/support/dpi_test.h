#pragma once
// What the tests at other screen resolutions share: the program's windows at the run's DPI,
// places, fonts, label measurement and GDI object counts.
#include <windows.h>

#include <vector>

#include "controls/dpi.h"
#include "controls/gdi.h"
#include "tests/support/app_fixture.h"
#include "tests/support/canvas.h"

namespace zarn::test {

constexpr UINT kTestDpis[] = {96, 120, 144, 192};

// The program's windows as at start-up, at the DPI the run was started for (ZARN_EXPECT_DPI,
// default 96). In the test prefix a run at another DPI fails; elsewhere it is skipped.
class DpiAppTest : public AppTest {
 protected:
  void SetUp() override;
  int S(int value) const { return dpi::Scale(value, dpi); }
  UINT dpi = 96;
};

// A window's rectangle in its parent's client area (a top-level window's on the screen).
RECT PlaceOf(HWND hwnd);
SIZE ClientSize(HWND hwnd);
// The size of the bitmap or icon a picture control shows, and of an icon (square).
SIZE PictureSize(HWND picture);
SIZE IconSize(HICON icon);
LOGFONTA FontOf(HWND hwnd);
// Whether a label's whole text fits it in its font (wrapped to its width where it wraps).
bool TextFits(HWND label);
// Every static control with text inside a window.
std::vector<HWND> TextLabels(HWND top);
// Live GDI objects of this process: GetGuiResources on Windows; Wine answers 0 there, so
// under Wine the used entries of its GDI handle table, which the process holds alone.
int GdiObjectCount();

}  // namespace zarn::test
