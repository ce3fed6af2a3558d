#include "tests/support/app_fixture.h"

namespace zarn::test {

bool InitControlsOnce() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  return done;
}

void AppTest::Click(HWND button, int) { SendMessageA(button, BM_CLICK, 0, 0); }

}  // namespace zarn::test
