#include "tests/support/dpi_test.h"

#include <winternl.h>

#include <cstdint>
#include <cstdlib>

#include "controls/child_windows.h"
#include "controls/module_function.h"

namespace zarn::test {

void DpiAppTest::SetUp() {
  const char* expected = std::getenv("ZARN_EXPECT_DPI");
  dpi = expected && std::atoi(expected) > 0 ? std::atoi(expected) : 96;
  if (const UINT actual = dpi::SystemDpi(); actual != dpi) {
    if (InThrowawayWinePrefix()) FAIL() << "started at " << actual << " DPI instead of " << dpi;
    GTEST_SKIP() << "the screen is at " << actual << " DPI, this run checks " << dpi;
  }
  AppTest::SetUp();
}

RECT PlaceOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, bitmap.bmWidth};
}

SIZE PictureSize(HWND picture) {
  BITMAP info{};
  if (auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)))
    return GetObjectA(bitmap, sizeof info, &info) ? SIZE{info.bmWidth, info.bmHeight} : SIZE{};
  return IconSize(reinterpret_cast<HICON>(SendMessageA(picture, STM_GETICON, 0, 0)));
}

LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

bool TextFits(HWND label) {
  const LONG style = static_cast<LONG>(GetWindowLongPtrA(label, GWL_STYLE));
  const LONG kind = style & SS_TYPEMASK;
  // The static control draws these on one line; plain left, centred and right text wraps.
  const bool oneLine = kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE || (style & (SS_ENDELLIPSIS | SS_CENTERIMAGE));
  const SIZE has = ClientSize(label);
  const std::string text = WindowText(label);
  RECT box{0, 0, oneLine ? 0 : has.cx, 0};
  gdi::unique_hdc dc(CreateCompatibleDC(nullptr));
  gdi::unique_select_object font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  const UINT flags = DT_CALCRECT | DT_EXPANDTABS | (oneLine ? DT_SINGLELINE : DT_WORDBREAK);
  DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &box,
            flags | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
  return box.right <= has.cx && box.bottom <= has.cy;
}

namespace {
BOOL CALLBACK CollectTextLabel(HWND hwnd, LPARAM labels) {
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  const LONG kind = static_cast<LONG>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & SS_TYPEMASK;
  const bool text = kind <= SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
  if (lstrcmpiA(cls, "Static") == 0 && text && GetWindowTextLengthA(hwnd) > 0)
    reinterpret_cast<std::vector<HWND>*>(labels)->push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> TextLabels(HWND top) {
  std::vector<HWND> labels;
  EnumChildWindows(top, CollectTextLabel, reinterpret_cast<LPARAM>(&labels));
  return labels;
}

int GdiObjectCount() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
  // Wine 8's table: 65536 entries of 24 bytes (64-bit fields even in a 32-bit process), the
  // type in byte 14, found through the PEB where Windows keeps its shared handle table (its
  // GdiSharedHandleTable field, at another offset in a 64-bit process's PEB).
  using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (!GetProcAddress(ntdll, "wine_get_version")) return 0;
  const auto query = ModuleFunction<Query>(ntdll, "NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
  const auto* peb = reinterpret_cast<const char*>(info.PebBaseAddress);
  constexpr size_t kGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
  const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + kGdiTableOffset);
  int n = 0;
  for (int i = 0; table && i < 0x10000; ++i) n += table[i * 24 + 14] != 0;
  return n;
}

}  // namespace zarn::test
