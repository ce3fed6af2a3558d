#include "controls/dpi.h"

#include <memory>
#include <vector>

#include "controls/module_function.h"

namespace zarn::dpi {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

RECT ScaleRect(int x, int y, int width, int height, UINT dpi) {
  const int left = Scale(x, dpi), top = Scale(y, dpi);
  return RECT{left, top, left + Scale(width, dpi), top + Scale(height, dpi)};
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return value > 0 ? static_cast<UINT>(value) : kBase;
}

UINT ForWindow(HWND hwnd) {
  // Missing before Windows 10 1607: the program still runs on XP, Vista and 7.
  static const auto getDpiForWindow =
      ModuleFunction<GetDpiForWindowFn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT value = getDpiForWindow(hwnd);
    if (value) return value;
  }
  return SystemDpi();
}

int SystemMetric(int index, UINT dpi) {
  static const auto forDpi =
      ModuleFunction<GetSystemMetricsForDpiFn>(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  const UINT system = SystemDpi();
  const int value = GetSystemMetrics(index);
  return dpi == system ? value : MulDiv(value, static_cast<int>(dpi), static_cast<int>(system));
}

HFONT CreateUiFont(int points, int weight, bool underline, UINT dpi) {
  return CreateFontA(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, weight, FALSE, underline, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

HFONT UiFonts::Of(FontKind kind) const {
  switch (kind) {
    case FontKind::None: break;
    case FontKind::Normal: return normal;
    case FontKind::Bold: return bold;
    case FontKind::BoldUnderline: return boldUnderline;
    case FontKind::Bold9: return bold9;
  }
  return nullptr;
}

const UiFonts& FontsFor(UINT dpi) {
  struct Entry {
    UINT dpi;
    UiFonts fonts;
  };
  // One entry per DPI met (one per screen scale in use): never more than a handful.
  static std::vector<std::unique_ptr<Entry>> made;
  for (const auto& entry : made)
    if (entry->dpi == dpi) return entry->fonts;
  made.push_back(std::make_unique<Entry>(
      Entry{dpi, UiFonts{CreateUiFont(8, FW_NORMAL, false, dpi), CreateUiFont(8, FW_BOLD, false, dpi),
                         CreateUiFont(8, FW_BOLD, true, dpi), CreateUiFont(9, FW_BOLD, false, dpi)}}));
  return made.back()->fonts;
}

}  // namespace zarn::dpi
