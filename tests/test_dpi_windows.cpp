// The windows at the resolution the run was started for (96, 120, 144 or 192 DPI) and after
// WM_DPICHANGED (a window moved to a screen of another scale): every place, size, column,
// font and picture is its 96-DPI value scaled, texts fit, the gradient controls paint at
// their scale, nothing leaks; and the wizard used by mouse.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/aboutform.h"
#include "app/forms.h"
#include "app/utama.h"
#include "tests/support/dpi_test.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

struct Place {
  int id, x, y, width, height;  // in the parent's client area at 96 DPI
};
using M = TMainForm;
const Place kMainPlaces[] = {
    {M::kPanel1, 8, 16, 97, 337},     {M::kImage2, 2, 2, 93, 333},     {M::kPanel2, 112, 16, 425, 337},
    {M::kPanel3, 112, 16, 425, 337},  {M::kPanel4, 8, 72, 529, 287},   {M::kLvall, 0, 64, 417, 233},
    {M::kLabel1, 0, 0, 425, 14},      {M::kLabel2, 0, 18, 425, 14},    {M::kLabel3, 0, 32, 425, 14},
    {M::kLabel4, 0, 46, 425, 14},     {M::kLabel5, 0, 303, 425, 14},   {M::kLabel6, 0, 319, 425, 14},
    {M::kLabel7, 8, 8, 401, 14},      {M::kLv2, 8, 40, 401, 200},      {M::kPB2, 8, 256, 401, 16},
    {M::kLabel8, 8, 296, 401, 14},    {M::kLabel9, 0, 8, 525, 14},     {M::kLv3, 0, 32, 525, 201},
    {M::kLvclean, 0, 32, 525, 201},   {M::kPB, 0, 240, 525, 16},       {M::kLabel10, 0, 259, 529, 27},
    {M::kBackbtn, 104, 368, 75, 25},  {M::kNextbtn, 184, 368, 75, 25}, {M::kFinishBtn, 184, 368, 75, 25},
    {M::kClosebtn, 296, 368, 75, 25}, {M::kHelpbtn, 376, 368, 75, 25}, {M::kAboutbtn, 456, 368, 75, 25},
};
using A = TFormabout;
const Place kAboutPlaces[] = {
    {A::kPanel1, 16, 8, 361, 217},  {A::kPanel2, 0, 16, 393, 57},   {A::kImage1, 0, 0, 393, 57},
    {A::kLabel1, 16, 72, 200, 16},  {A::kLabel8, 16, 96, 200, 16},  {A::kLabel3, 16, 120, 200, 16},
    {A::kLabel4, 16, 136, 340, 16}, {A::kLabel5, 16, 152, 340, 16}, {A::kLabel6, 16, 176, 250, 16},
    {A::kLabel7, 16, 192, 250, 16}, {A::kLabel2, 224, 72, 130, 16}, {A::kButton1, 272, 184, 75, 25},
};

class DpiWindowsTest : public DpiAppTest {
 protected:
  void Seed() override {
    Sandbox::SetString(Root::HKCU, kRun, "a", "cmd");
    Sandbox::SetString(Root::HKCU, kRun, "b", "calc");
  }

  struct Top {
    HWND hwnd;
    int width, height;  // at 96 DPI
  };
  std::vector<Top> Tops() const {
    return {{MainForm->Handle(), 555, 435}, {DetailsForm->Handle(), 700, 437}, {Formabout->Handle(), 402, 270}};
  }
  // What Windows does when a window moves to a screen at `to` DPI: WM_DPICHANGED, with the
  // window's size at that DPI in its place as the suggested rectangle.
  void MoveToDpi(UINT to) {
    for (const Top& top : Tops()) {
      RECT r{};
      GetWindowRect(top.hwnd, &r);
      const RECT suggested{r.left, r.top, r.left + dpi::Scale(top.width, to), r.top + dpi::Scale(top.height, to)};
      SendMessageA(top.hwnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
      GetWindowRect(top.hwnd, &r);
      EXPECT_TRUE(EqualRect(&r, &suggested)) << "the suggested rectangle, at " << to;
    }
  }

  void ExpectLaidOutAt(UINT to) {
    SCOPED_TRACE(to);
    auto S = [to](int v) { return dpi::Scale(v, to); };
    auto expectAt = [&](HWND hwnd, int x, int y, int width, int height) {
      const RECT r = PlaceOf(hwnd), want = dpi::ScaleRect(x, y, width, height, to);
      EXPECT_TRUE(EqualRect(&r, &want)) << "control " << GetDlgCtrlID(hwnd) << " at " << r.left << "," << r.top << " "
                                        << r.right - r.left << "x" << r.bottom - r.top;
    };
    auto expectSize = [&](HWND hwnd, int width, int height) {
      const RECT r = PlaceOf(hwnd);
      EXPECT_TRUE(r.right - r.left == S(width) && r.bottom - r.top == S(height))
          << "window " << GetDlgCtrlID(hwnd) << " is " << r.right - r.left << "x" << r.bottom - r.top;
    };
    for (const Top& top : Tops()) expectSize(top.hwnd, top.width, top.height);

    for (const Place& p : kMainPlaces) expectAt(Main(p.id), p.x, p.y, p.width, p.height);
    const RECT bevel = PlaceOf(Main(M::kBevel1));  // Wine's etched line is two pixels wider than asked
    EXPECT_TRUE(bevel.left == S(8) && bevel.top == S(360) && bevel.right - bevel.left - S(525) <= 2);
    const SIZE client = ClientSize(MainForm->Handle());
    const RECT top = PlaceOf(Main(M::kPanelTop)), banner = PlaceOf(Main(M::kImage1));
    EXPECT_TRUE(top.right == client.cx && top.bottom == S(70)) << "PanelTop over the whole width";
    EXPECT_TRUE(banner.top == S(2) && banner.bottom - banner.top == S(66) &&
                std::abs(banner.left - (client.cx - banner.right)) <= 1);

    auto columnsAre = [&](HWND list, std::initializer_list<int> at96) {
      int i = 0;
      for (int w : at96) EXPECT_EQ(ListView_GetColumnWidth(list, i++), S(w)) << "column " << i - 1;
    };
    columnsAre(Main(M::kLvall), {160, 250});
    columnsAre(Main(M::kLv2), {180, 100});
    columnsAre(Main(M::kLvclean), {250, 100, 100});
    columnsAre(DetailsForm->Traces().Handle(), {150, 250, 80, 200, 80});
    for (HWND hwnd : {Main(M::kLabel1), Main(M::kNextbtn), Main(M::kLvall), DetailsForm->Traces().Handle(),
                      DetailsForm->OkButton()})
      EXPECT_EQ(FontOf(hwnd).lfHeight, -MulDiv(8, to, 72));
    EXPECT_EQ(FontOf(Main(M::kLabel1)).lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(Formabout->Control(A::kLabel3)).lfHeight, -MulDiv(9, to, 72));

    int cx = 0, cy = 0;
    ImageList_GetIconSize(ListView_GetImageList(Main(M::kLvclean), LVSIL_SMALL), &cx, &cy);
    EXPECT_EQ(cx, S(16));
    for (HWND list : {Main(M::kLvall), Main(M::kLv3), DetailsForm->Traces().Handle()}) {
      ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_STATE), &cx, &cy);
      EXPECT_EQ(cx, S(13)) << "check boxes of list " << GetDlgCtrlID(list);
    }
    EXPECT_EQ(PictureSize(DetailsForm->StatusIcon()).cx, S(32));
    // Each banner is drawn for its control's size: a picture control that stretches it breaks
    // its letters.
    for (HWND picture : {Main(M::kImage2), Main(M::kImage1), Formabout->Control(A::kImage1)}) {
      const SIZE pictureSize = PictureSize(picture), clientSize = ClientSize(picture);
      EXPECT_TRUE(pictureSize.cx == clientSize.cx && pictureSize.cy == clientSize.cy) << GetDlgCtrlID(picture);
    }

    // The detail dialog's list and panel follow its size, the buttons keep to the right.
    const SIZE detail = ClientSize(DetailsForm->Handle());
    const int panelTop = detail.cy - S(8) - S(57);
    const RECT list = PlaceOf(DetailsForm->Traces().Handle()), panel = PlaceOf(GetParent(DetailsForm->OkButton()));
    EXPECT_TRUE(list.left == S(8) && list.top == S(8) && list.right == detail.cx - S(8) &&
                list.bottom == panelTop - S(8));
    EXPECT_TRUE(panel.left == S(8) && panel.top == panelTop && panel.bottom == panelTop + S(57));
    const RECT okPlace = PlaceOf(DetailsForm->OkButton()), cancel = PlaceOf(DetailsForm->CancelButton());
    EXPECT_TRUE(cancel.right == detail.cx - 3 * S(8) && okPlace.right == cancel.left - S(8) && okPlace.top == S(16));
    expectSize(DetailsForm->OkButton(), 75, 25);
    expectAt(DetailsForm->StatusIcon(), 8, 8, 41, 41);
    expectAt(DetailsForm->StatusLabel(), 56, 8, 300, 41);
    for (const Place& p : kAboutPlaces) expectAt(Formabout->Control(p.id), p.x, p.y, p.width, p.height);

    // The gradient controls paint for the DPI: border, then bevel, each as wide as a pixel
    // at 96 DPI scaled.
    const int t = dpi::LineWidth(to);
    HWND bar = MainForm->PB2().Handle(), ok = DetailsForm->OkButton();
    const SIZE barSize = ClientSize(bar), okSize = ClientSize(ok);
    Canvas barPicture(barSize.cx, barSize.cy), okPicture(okSize.cx, okSize.cy);
    SendMessageA(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(barPicture.dc()), PRF_CLIENT);
    SendMessageA(ok, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(okPicture.dc()), PRF_CLIENT);
    const TXiButton* button = TXiButton::FromHandle(ok);
    for (int k = 0; k <= t; ++k) {
      EXPECT_EQ(barPicture.At(k, barSize.cy / 2) == MainForm->PB2().Colors().ColorBorder, k < t) << k;
      EXPECT_EQ(okPicture.At(k, okSize.cy / 2),
                button->Color(k < t ? XiButtonColor::ColorBorder : XiButtonColor::ColorLight))
          << k;
    }
  }

  // Every visible label shows its whole text: none is cut or ends in "...".
  void ExpectLabelsFit(HWND top) {
    for (HWND label : TextLabels(top)) {
      if (IsWindowVisible(label)) {
        EXPECT_TRUE(TextFits(label)) << "\"" << WindowText(label) << "\"";
      }
    }
  }
};

TEST_F(DpiWindowsTest, LaidOutAtTheRunsDpiWithEveryTextFitting) {
  ExpectLaidOutAt(dpi);
  ShowWindow(Formabout->Handle(), SW_SHOWNA);
  ShowWindow(DetailsForm->Handle(), SW_SHOWNA);
  ExpectLabelsFit(MainForm->Handle());
  ExpectLabelsFit(Formabout->Handle());
  ExpectLabelsFit(DetailsForm->Handle());
}

// The face a window's font is drawn in: the family of the font file GDI picked, which is
// another than the one asked for wherever that one is missing.
std::string DrawnFace(HWND hwnd) {
  gdi::unique_hdc dc(CreateCompatibleDC(nullptr));
  gdi::unique_select_object font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
  const UINT size = GetOutlineTextMetricsA(dc.get(), 0, nullptr);
  if (size == 0) return "(no outline font)";
  std::vector<char> buffer(size);
  auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
  if (!GetOutlineTextMetricsA(dc.get(), size, metrics)) return "(no metrics)";
  return buffer.data() + reinterpret_cast<uintptr_t>(metrics->otmpFamilyName);
}

// The windows are laid out for Tahoma: in a wider face the wizard's texts end in "..." or are
// cut. Wine has its own Tahoma; on Windows the dialog font may be another, so only the test
// prefix holds the windows to it.
TEST_F(DpiWindowsTest, EveryWindowIsDrawnInTahoma) {
  if (!InThrowawayWinePrefix()) GTEST_SKIP() << "the drawn face is only known in the test prefix";
  for (HWND hwnd : {Main(M::kLabel1), Main(M::kLabel2), Main(M::kLabel10), Main(M::kNextbtn), Main(M::kLvall),
                    Main(M::kLvclean), DetailsForm->Traces().Handle(), DetailsForm->StatusLabel(),
                    DetailsForm->OkButton(), Formabout->Control(A::kLabel3), Formabout->Control(A::kLabel4)})
    EXPECT_EQ(DrawnFace(hwnd), "Tahoma") << "control " << GetDlgCtrlID(hwnd) << " \"" << WindowText(hwnd) << "\"";
}

TEST_F(DpiWindowsTest, DpiChangesLayTheWindowsOutAgainAndLeakNoGdiObject) {
  for (UINT to : {120u, 144u, 192u, 96u, dpi}) {
    MoveToDpi(to);
    ExpectLaidOutAt(to);
    for (const Top& top : Tops()) {
      EXPECT_EQ(IconSize(reinterpret_cast<HICON>(SendMessageA(top.hwnd, WM_GETICON, ICON_SMALL, 0))).cx,
                dpi::Scale(16, to));
      EXPECT_EQ(IconSize(reinterpret_cast<HICON>(SendMessageA(top.hwnd, WM_GETICON, ICON_BIG, 0))).cx,
                dpi::Scale(32, to));
    }
  }
  // The first round made each DPI's fonts, which stay for the process.
  PumpMessages(50);
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (UINT to : {144u, 96u, 192u, 120u, 144u, 192u, 96u, 120u, 192u, dpi}) MoveToDpi(to);
  PumpMessages(50);
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(DpiWindowsTest, WizardWalksAllPagesAndTheDetailDialogUnticksByMouse) {
  HWND lvall = Main(M::kLvall);
  const std::vector<ShownRow> catalogue = ReadList(lvall);
  for (size_t i = 0; i < catalogue.size(); ++i)
    SetTick(lvall, static_cast<int>(i), catalogue[i][0] == "Windows Explorer");
  auto next = [&](int page) {
    SendMessageA(Main(M::kNextbtn), BM_CLICK, 0, 0);
    EXPECT_EQ(MainForm->State(), page);
    // Page 3's note, too, is cut in Wine's Tahoma at 96 DPI already.
    ExpectLabelsFit(MainForm->Handle());
  };
  auto click = [](HWND hwnd, int x, int y, UINT down = WM_LBUTTONDOWN) {
    SendMessageA(hwnd, down, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  next(2);
  next(3);
  HWND lv3 = Main(M::kLv3);
  RECT row{LVIR_LABEL, 0, 0, 0};
  ASSERT_TRUE(SendMessageA(lv3, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  click(lv3, row.left + S(20), (row.top + row.bottom) / 2);
  click(lv3, row.left + S(20), (row.top + row.bottom) / 2, WM_LBUTTONDBLCLK);
  PumpMessages(50);
  ASSERT_TRUE(IsWindowVisible(DetailsForm->Handle()));

  // Row "a"'s check box, where the list view says it is: its image is 16 pixels at 96 DPI,
  // of which the list view answers to the mark's 13 and more.
  HWND traces = DetailsForm->Traces().Handle();
  const int a = FindRow(traces, "a");
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(SendMessageA(traces, LVM_GETITEMRECT, a, reinterpret_cast<LPARAM>(&bounds)));
  const int y = (bounds.top + bounds.bottom) / 2;
  int first = -1, last = -1;
  for (int x = bounds.left; x < bounds.left + S(60); ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    if (ListView_SubItemHitTest(traces, &hit) != a || !(hit.flags & LVHT_ONITEMSTATEICON)) continue;
    if (first < 0) first = x;
    last = x;
  }
  ASSERT_GE(first, 0) << "no check box on the row";
  EXPECT_GE(last - first + 1, S(13));
  EXPECT_LE(last - first + 1, S(16));
  click(traces, (first + last) / 2, y);
  EXPECT_FALSE(ReadList(traces)[a].ticked);
  const SIZE ok = ClientSize(DetailsForm->OkButton());
  click(DetailsForm->OkButton(), ok.cx / 2, ok.cy / 2);
  PumpMessages(50);
  EXPECT_FALSE(IsWindowVisible(DetailsForm->Handle()));

  next(4);
  EXPECT_TRUE(IsWindowVisible(Main(M::kFinishBtn)));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kRun, "a"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRun, "b"));
}

}  // namespace
