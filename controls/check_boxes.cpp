#include "controls/check_boxes.h"

#include <commctrl.h>

#include "controls/dpi.h"
#include "controls/gdi.h"

namespace zarn {

void SetCheckBoxImages(HWND list, UINT dpi) {
  // 13 pixels at 96 DPI, the size of the list view's own (the themed check box's).
  const int size = dpi::Scale(13, dpi);
  gdi::unique_himagelist images(ImageList_Create(size, size, ILC_COLOR32, 2, 0));
  gdi::unique_hdc dc(CreateCompatibleDC(nullptr));
  if (!images || !dc) return;
  for (UINT state : {0u, static_cast<UINT>(DFCS_CHECKED)}) {
    gdi::unique_hbitmap picture(gdi::CreateDib32(dc.get(), size, size));
    {
      gdi::unique_select_object selection(dc.get(), picture.get());
      RECT box{0, 0, size, size};
      DrawFrameControl(dc.get(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | state);
    }
    ImageList_Add(images.get(), picture.get(), nullptr);
  }
  if (ImageList_GetImageCount(images.get()) != 2) return;
  // The list view hands back the pictures it held; what it holds now it destroys with itself.
  if (HIMAGELIST old = ListView_SetImageList(list, images.release(), LVSIL_STATE)) ImageList_Destroy(old);
  InvalidateRect(list, nullptr, FALSE);
}

}  // namespace zarn
