// The trace list's own behaviour: rows added in batches, ticks kept through the user's
// clicks and keys and through LVM_SETITEMSTATE, texts and type-ahead answered from the
// list's items.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"
#include "tests/support/sandbox.h"
#include "traces/trace_list.h"

namespace zarn::test {
namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* list = reinterpret_cast<TraceList*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (list && list->HandleNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TraceItem Item(const std::string& name) { return {name, "C:\\Temp\\", "File", "", "1 KB"}; }

class TraceListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitControlsOnce());
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZarnTraceListHost";
    RegisterClassA(&wc);
    host_ = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 400, nullptr,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
    SetWindowLongPtrA(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&list_));
    ASSERT_TRUE(list_.Create(host_, 1, 0, 0, 680, 360));
    list_.SetColumns("File Name");
  }
  void TearDown() override {
    SetWindowLongPtrA(host_, GWLP_USERDATA, 0);
    DestroyWindow(host_);
  }
  void AddRows(std::initializer_list<const char*> names) {
    list_.BeginAdding();
    for (const char* n : names) list_.Add(Item(n));
    list_.FinishAdding();
  }
  // The point where the list view itself says row `row`'s check box is.
  POINT CheckBoxPoint(int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    EXPECT_TRUE(SendMessageA(list_.Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds)));
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = {x, (bounds.top + bounds.bottom) / 2};
      if (ListView_SubItemHitTest(list_.Handle(), &hit) == row && (hit.flags & LVHT_ONITEMSTATEICON)) return hit.pt;
    }
    ADD_FAILURE() << "no check box found on row " << row;
    return {0, 0};
  }
  void ClickAt(POINT pt, UINT down = WM_LBUTTONDOWN) {
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    SendMessageA(list_.Handle(), down, MK_LBUTTON, at);
    SendMessageA(list_.Handle(), WM_LBUTTONUP, 0, at);
  }
  void PressSpace() {
    SendMessageA(list_.Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(list_.Handle(), WM_CHAR, ' ', 0x00390001);
    SendMessageA(list_.Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  }
  std::vector<bool> Ticks() {
    std::vector<bool> ticks;
    for (const ShownRow& row : ReadList(list_.Handle())) ticks.push_back(row.ticked);
    return ticks;
  }

  HWND host_ = nullptr;
  TraceList list_;
};

TEST_F(TraceListTest, BatchedRowsAreAllShownTickedWithTheirTexts) {
  list_.BeginAdding();
  for (int i = 0; i < 499; ++i) list_.Add(Item("file" + std::to_string(i) + ".tmp"));
  // A running scan shows what it found so far once the repaint interval has passed.
  Sleep(50);
  list_.Add(Item("file499.tmp"));
  EXPECT_EQ(ListView_GetItemCount(list_.Handle()), 500);
  list_.FinishAdding();
  std::vector<ShownRow> rows = ReadList(list_.Handle());
  ASSERT_EQ(rows.size(), 500u);
  EXPECT_EQ(rows[499].Name(), "file499.tmp");
  EXPECT_EQ(rows[0].Location(), "C:\\Temp\\");
  EXPECT_EQ(rows[0].Size(), "1 KB");
  for (const ShownRow& r : rows) EXPECT_TRUE(r.ticked);

  // Outside a batch each row shows at once.
  list_.Add(Item("late.tmp"));
  EXPECT_EQ(ListView_GetItemCount(list_.Handle()), 501);

  list_.Clear();
  EXPECT_EQ(ListView_GetItemCount(list_.Handle()), 0);
  EXPECT_EQ(list_.Count(), 0u);
  EXPECT_FALSE(list_.IsTicked(0));
}

TEST_F(TraceListTest, ClickOnTheCheckBoxTogglesOnlyThatRow) {
  AddRows({"a.tmp", "b.tmp", "c.tmp"});
  ClickAt(CheckBoxPoint(1));
  EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, true}));
  EXPECT_FALSE(list_.IsTicked(1));
  // A double click is two clicks on the box, not one toggle and an open.
  ClickAt(CheckBoxPoint(1), WM_LBUTTONDBLCLK);
  EXPECT_TRUE(list_.IsTicked(1));

  // A click on the name selects the row and leaves every tick alone.
  RECT label{};
  label.left = LVIR_LABEL;
  SendMessageA(list_.Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&label));
  ClickAt({label.left + 10, (label.top + label.bottom) / 2});
  EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(ListView_GetNextItem(list_.Handle(), -1, LVNI_SELECTED), 2);
}

TEST_F(TraceListTest, SpaceTogglesTheFocusedRowAndGivesTheSelectedOnesTheSameTick) {
  AddRows({"a.tmp", "b.tmp", "c.tmp", "d.tmp"});
  list_.SetTicked(3, false);
  ListView_SetItemState(list_.Handle(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list_.Handle(), 3, LVIS_SELECTED, LVIS_SELECTED);
  PressSpace();
  EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, true, false}));
  PressSpace();
  EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, true, true}));
  // The space was taken for the tick, not for a search: the selection stays.
  EXPECT_EQ(ListView_GetSelectedCount(list_.Handle()), 2u);
}

TEST_F(TraceListTest, SetItemStateChangesTicksAndKeepsSelectionWorking) {
  AddRows({"a.tmp", "b.tmp", "c.tmp"});
  ListView_SetCheckState(list_.Handle(), -1, FALSE);
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false}));
  // One call that ticks and selects does both.
  ListView_SetItemState(list_.Handle(), 2, INDEXTOSTATEIMAGEMASK(2) | LVIS_SELECTED,
                        LVIS_STATEIMAGEMASK | LVIS_SELECTED);
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(ListView_GetNextItem(list_.Handle(), -1, LVNI_SELECTED), 2);
  // A row that is not there is refused and changes nothing.
  LVITEMA none{};
  none.stateMask = LVIS_STATEIMAGEMASK;
  none.state = INDEXTOSTATEIMAGEMASK(2);
  EXPECT_FALSE(SendMessageA(list_.Handle(), LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&none)));
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, true}));
}

TEST_F(TraceListTest, TypeAheadFindsNamesByTheirBeginningAndWraps) {
  AddRows({"index.dat", "Cookies.txt", "desktop.ini", "cookie2.txt"});
  auto find = [&](int start, const char* text, UINT flags) {
    LVFINDINFOA info{};
    info.flags = flags;
    info.psz = text;
    return static_cast<int>(SendMessageA(list_.Handle(), LVM_FINDITEMA, start, reinterpret_cast<LPARAM>(&info)));
  };
  EXPECT_EQ(find(-1, "COOK", LVFI_PARTIAL | LVFI_STRING), 1);
  EXPECT_EQ(find(2, "cook", LVFI_PARTIAL | LVFI_STRING), 3);
  EXPECT_EQ(find(3, "ind", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP), 0);
  EXPECT_EQ(find(3, "ind", LVFI_PARTIAL | LVFI_STRING), -1);
  EXPECT_EQ(find(-1, "desktop.ini", LVFI_STRING), 2);
  EXPECT_EQ(find(-1, "desktop", LVFI_STRING), -1);

  // Typing a name's first letters moves the focus there.
  SetFocus(list_.Handle());
  SendMessageA(list_.Handle(), WM_CHAR, 'd', 0x00200001);
  EXPECT_EQ(ListView_GetNextItem(list_.Handle(), -1, LVNI_FOCUSED), 2);
}

TEST_F(TraceListTest, SettingTheColumnsAgainUndoesResizingAndTakesTheNewFirstCaption) {
  ListView_SetColumnWidth(list_.Handle(), 1, 40);
  list_.SetColumns("Value Name");
  EXPECT_EQ(ColumnCaptions(list_.Handle()),
            (std::vector<std::string>{"Value Name", "File Location", "File Type", "File Info", "File Size"}));
  EXPECT_EQ(ListView_GetColumnWidth(list_.Handle(), 1), 250);
  EXPECT_EQ(ListView_GetColumnWidth(list_.Handle(), 0), 150);
}

TEST_F(TraceListTest, LongAndEmbeddedZeroTextsAreCutToWhatTheListHolds) {
  list_.Add({std::string(2000, 'x'), std::string("ab\0cd", 5), "Clipboard", "", ""});
  char buffer[16] = {};
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list_.Handle(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::string(buffer), std::string(15, 'x'));
  item.iSubItem = 1;
  SendMessageA(list_.Handle(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::string(buffer), "ab");
}

}  // namespace
}  // namespace zarn::test
