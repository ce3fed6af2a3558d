#pragma once
// The wizard's pictures for a screen resolution: list images drawn at the size the DPI asks
// for, banners shrunk from their double-size source. At 96 DPI they are the 96-DPI assets, where
// those fit their control.
#include <windows.h>
#include <commctrl.h>

namespace zarn {

// The three list images (scanning, done, cleaning), 16 pixels square at 96 DPI. The caller
// owns the image list.
HIMAGELIST CreateListImages(UINT dpi);

// A banner for a picture control of width x height (the control's size at `dpi`), exactly that
// size: the banner drawn for 96 DPI where it has that size, else the double-size banner shrunk
// to it. The caller owns the bitmap.
HBITMAP LoadBanner(int resourceId, int largeResourceId, int width, int height, UINT dpi);

}  // namespace zarn
