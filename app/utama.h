#pragma once
// The wizard main window: four pages over one window, driven by "Next >" and "< Back".
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "controls/gdi.h"
#include "controls/xiprogressbar.h"
#include "traces/window.h"

namespace zarn {

class TCategoryForm;

class TMainForm : public Window {
 public:
  enum ControlId {
    kLvall = 2001, kLv2, kLv3, kLvclean, kBackbtn, kNextbtn, kFinishBtn, kClosebtn, kHelpbtn, kAboutbtn,
    kPB2, kPB, kPanel1, kPanelTop, kPanel2, kPanel3, kPanel4, kLabel1, kLabel2, kLabel3, kLabel4, kLabel5,
    kLabel6, kLabel7, kLabel8, kLabel9, kLabel10, kImage1, kImage2, kBevel1,
  };

  TMainForm() = default;
  bool Create();

  int State() const { return state_; }
  // The scanning page's bar (PB2) and the cleaning page's bar (PB).
  const TXiProgressBar& PB2() const { return pb2_; }
  const TXiProgressBar& PB() const { return pb_; }
  HWND Control(int id) const { return GetDlgItem(ControlParent(id), id); }

  // The handlers, named after their component and event.
  void nextbtnClick();
  void backbtnClick();
  void finishBtnClick();
  void closebtnClick();
  void helpbtnClick();
  void aboutbtnClick();
  void lv3DblClick();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR* header, LRESULT* result) override;

 private:
  void FormCreate();
  void BuildCatalogue();
  void CreatePage1();
  void CreatePage2();
  void CreatePages34();
  void CreateButtons();
  HWND ControlParent(int id) const;

  void StartScan();
  void ShowResults();
  void StartClean();
  // The progress animation of one row: 101 steps of 5 ms with pending messages handled.
  void Animate(HWND list, int row, int image, int progressColumn, TXiProgressBar& bar, bool cleaningPage);
  bool PumpMessages();

  int state_ = 0;
  bool busy_ = false;
  bool quitting_ = false;
  gdi::unique_himagelist imageList1_;
  gdi::unique_hbitmap banner1_, banner2_;
  HWND panel1_ = nullptr, panelTop_ = nullptr, panel2_ = nullptr, panel3_ = nullptr, panel4_ = nullptr;
  HWND lvall_ = nullptr, lv2_ = nullptr, lv3_ = nullptr, lvclean_ = nullptr;
  TXiProgressBar pb2_, pb_;
};

// Opens the product's web site with the shell; tests may watch the address instead.
extern const char kWebAddress[];
void OpenWebSite();
using UrlOpener = void (*)(const char* address);
void SetUrlOpener(UrlOpener opener);

}  // namespace zarn
