#pragma once
// The wizard main window: four pages over one window, driven by "Next >" and "< Back".
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "controls/child_windows.h"
#include "controls/form.h"
#include "controls/gdi.h"
#include "controls/xiprogressbar.h"

namespace zarn {

class TCategoryForm;

class TMainForm : public Form {
 public:
  // The ids read best packed, in the order the windows create them.
  // clang-format off
  enum ControlId {
    kLvall = 2001, kLv2, kLv3, kLvclean, kBackbtn, kNextbtn, kFinishBtn, kClosebtn, kHelpbtn, kAboutbtn,
    kPB2, kPB, kPanel1, kPanelTop, kPanel2, kPanel3, kPanel4, kLabel1, kLabel2, kLabel3, kLabel4, kLabel5,
    kLabel6, kLabel7, kLabel8, kLabel9, kLabel10, kImage1, kImage2, kBevel1,
  };
  // clang-format on

  // The wizard's pages, numbered as the user meets them.
  enum class Page { ChooseCategories = 1, Scanning = 2, Results = 3, Cleaning = 4 };

  TMainForm() = default;
  bool Create();

  int State() const { return static_cast<int>(page_); }
  // The scanning page's bar (PB2) and the cleaning page's bar (PB).
  const TXiProgressBar& PB2() const { return pb2_; }
  const TXiProgressBar& PB() const { return pb_; }
  HWND Control(int id) const { return FindControl(hwnd_, id); }

  // The handlers, named after their component and event.
  void nextbtnClick();
  void backbtnClick();
  void finishBtnClick();
  void closebtnClick();
  void helpbtnClick();
  void aboutbtnClick();
  void lv3DblClick();

  // "Close", the caption's close box and the task bar's: the program ends at once, or, while
  // a scan or clean runs, as soon as the running step has finished its current item.
  void EndProgram();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR* header, LRESULT* result) override;
  void CreateControls() override;
  // The list images, the banners, the top banner's place and the bars for the DPI of the
  // layout.
  void ApplyDpi(bool changed) override;

 private:
  // The two texts at the top and foot of a page.
  struct PageTexts {
    const char* title;
    const char* note;
  };
  // A run over the ticked categories of `source`, one row of `list` each: scanning them or
  // cleaning them, with the same animation.
  struct Run {
    Page page;
    HWND source, list;
    int image;                       // the picture of the row that runs
    int progressColumn;              // "N %"; the columns before it are copied from `source`
    std::optional<int> countColumn;  // once a row is done, what its clean left
    TXiProgressBar& bar;
    void (TCategoryForm::*operation)();
    int titleLabel, noteLabel;
    PageTexts during, after;
  };

  void FormCreate();
  void BuildCatalogue();
  void CreatePage1();
  void CreatePage2();
  void CreatePages34();
  void CreateButtons();
  void PlaceTopBanner();

  void ShowPage(Page page);
  void SetTexts(int titleLabel, int noteLabel, const PageTexts& texts);
  void StartScan();
  void ShowResults();
  void StartClean();
  // False when there was nothing ticked or the program is ending.
  bool RunCategories(const Run& run);
  // The progress animation of one row: 101 steps of 5 ms with pending messages handled.
  void Animate(const Run& run, int row);
  bool PumpMessages();
  // Between two items of a running scan or clean: handles what the user did meanwhile.
  static bool PulseDuringRun(void* form);

  Page page_{};
  bool busy_ = false;
  bool quitting_ = false;
  bool endRequested_ = false;
  gdi::unique_himagelist imageList1_;
  gdi::unique_hbitmap banner1_, banner2_;
  HWND lvall_ = nullptr, lv2_ = nullptr, lv3_ = nullptr, lvclean_ = nullptr;
  TXiProgressBar pb2_, pb_;
};

// Opens the product's web site with the shell; tests may watch the address instead.
extern const char kWebAddress[];
void OpenWebSite();
using UrlOpener = void (*)(const char* address);
void SetUrlOpener(UrlOpener opener);

// Ends the process; tests may watch the moment instead.
using ProgramEnder = void (*)();
void SetProgramEnder(ProgramEnder ender);

}  // namespace zarn
