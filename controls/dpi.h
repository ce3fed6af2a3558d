#pragma once
// Screen resolution helpers. Every size in the program is written for 96 DPI (100 %) and
// scaled to the DPI of the window that shows it; at 96 DPI every value stays as written.
#include <windows.h>

namespace zarn::dpi {

constexpr UINT kBase = 96;

// A length at 96 DPI scaled to `dpi`, rounded as MulDiv rounds.
inline int Scale(int value, UINT dpi) {
  return dpi == kBase ? value : MulDiv(value, static_cast<int>(dpi), static_cast<int>(kBase));
}
// Width of a line that is one pixel at 96 DPI: whole pixels, never thinner than one.
inline int LineWidth(UINT dpi) {
  const int width = Scale(1, dpi);
  return width < 1 ? 1 : width;
}
RECT ScaleRect(int x, int y, int width, int height, UINT dpi);

// The DPI the process was started with (the primary monitor's on Windows 8.1 and later).
UINT SystemDpi();
// The DPI of the monitor a window is on; GetDpiForWindow where Windows has it (10, 1607
// and later), the system DPI on older Windows.
UINT ForWindow(HWND hwnd);
// A system metric for a DPI (GetSystemMetricsForDpi where available). Older Windows only
// knows the system DPI's metrics, which it then scales.
int SystemMetric(int index, UINT dpi);

// A font of the program's face (Tahoma) in points for a DPI. The caller owns it.
HFONT CreateUiFont(int points, int weight, bool underline, UINT dpi);

// The kinds of the program's fonts; None for a window that shows no text in one of them.
enum class FontKind { None, Normal, Bold, BoldUnderline, Bold9 };

// The program's fonts for one DPI: Tahoma 8 pt, its bold and bold underlined forms, and
// bold 9 pt. Made on first use and shared by every window at that DPI until the process
// ends, so a window that moves to another screen takes the other set and no window is
// left holding a deleted font.
struct UiFonts {
  HFONT normal, bold, boldUnderline, bold9;
  // The font of that kind; null for None.
  HFONT Of(FontKind kind) const;
};
const UiFonts& FontsFor(UINT dpi);

}  // namespace zarn::dpi

namespace zarn {
using dpi::FontKind;
}  // namespace zarn
