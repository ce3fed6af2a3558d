#include "app/dpi_images.h"

#include "app/jpeg_image.h"
#include "controls/bitmap_scale.h"
#include "controls/dpi.h"
#include "controls/gdi.h"
#include "res/resource.h"

namespace zarn {

HIMAGELIST CreateListImages(UINT dpi) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const int size = dpi::Scale(16, dpi);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
  if (!images) return nullptr;
  // The icons hold each image drawn at 16, 20, 24 and 32 pixels: LoadImage takes the one
  // of the size asked for instead of stretching another.
  for (int id : {IDI_LIST_SCAN, IDI_LIST_DONE, IDI_LIST_CLEAN}) {
    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    ImageList_AddIcon(images, icon);
    if (icon) DestroyIcon(icon);
  }
  return images;
}

HBITMAP LoadBanner(int resourceId, int largeResourceId, int width, int height, UINT dpi) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (dpi <= dpi::kBase) {
    // A picture control fits a bitmap of another size into itself in its DC's default stretch
    // mode, which ANDs the rows and columns it drops: thin strokes of the banner's text break
    // and stray colours appear. A banner that does not fit is shrunk here, by averaging.
    gdi::unique_hbitmap own(LoadJpegBitmap(instance, resourceId));
    BITMAP info{};
    if (!own || (GetObjectA(own.get(), sizeof info, &info) && info.bmWidth == width && info.bmHeight == height))
      return own.release();
  }
  gdi::unique_hbitmap large(LoadJpegBitmap(instance, largeResourceId));
  HBITMAP shrunk = large ? ShrinkBitmap(large.get(), width, height) : nullptr;
  return shrunk ? shrunk : LoadJpegBitmap(instance, resourceId);
}

}  // namespace zarn
