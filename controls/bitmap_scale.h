#pragma once
// Pictures shrunk to the size a screen needs, without the blur or jagged edges of a
// stretched bitmap.
#include <windows.h>

namespace zarn {

// A new 24-bit DIB section of width x height in which every pixel is the average of the
// part of `source` it covers (area averaging). Meant for shrinking a large picture; it
// also enlarges, as plain pixel repetition. Null when `source` cannot be read or a size is
// not positive. The caller owns the result.
HBITMAP ShrinkBitmap(HBITMAP source, int width, int height);

}  // namespace zarn
