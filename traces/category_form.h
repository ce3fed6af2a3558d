#pragma once
// The window that owns one category: its scan, its trace list, its found count and its
// cleaner. Every category derives from it and supplies its probing step.
#include <windows.h>

#include <string>

#include "controls/child_windows.h"
#include "controls/form.h"
#include "controls/unique_handle.h"
#include "controls/xibutton.h"
#include "traces/cleaner.h"
#include "traces/database_guard.h"
#include "traces/registry.h"
#include "traces/text_list.h"
#include "traces/trace_list.h"

namespace zarn {

enum class StatusFamily {
  A,  // "N Files founds", also for zero; then the default mouse cursor
  B,  // "N Files Found", or the form's empty text
};

// What tells one category's form from another. Forms set their own fields by name; the
// defaults are what most forms share.
struct FormTraits {
  const char* caption = nullptr;         // the category caption, the wizard's dispatch key
  const char* className = nullptr;       // window class, named like the form class
  const char* title = nullptr;           // window title, exactly
  const char* scanButtonName = nullptr;  // the hidden scan button's name
  StatusFamily family = StatusFamily::B;
  const char* emptyText = "No File Found";  // family B text for an empty list
  const char* firstColumn = "File Name";
  int height = 437;
  bool okIsButton1 = false;            // which gradient button reads "OK"
  bool statusHiddenUntilScan = false;  // icon and label appear after the first scan
  int iconId = 0;
};

// When a form's first scan runs. At start-up nothing of it is seen before the wizard scans
// (a scan of a large cache would keep the window from appearing for seconds), so the
// program's forms wait; a form on its own scans as it is created.
enum class FirstScan {
  AtCreate,
  // On the first ClickScan, or when anything first asks for a result of the scan: the trace
  // list, the found count, the status label, the detail dialog. A clean never runs it.
  WhenAsked,
};

// A category's own cleaning steps (CleanOwnItem, AfterClean) come from CleanSteps, which a
// category's form overrides where it has them.
class TCategoryForm : public Form, public CleanSteps {
 public:
  enum ControlId { kScanButton = 1001, kDelButton, kTraceList, kXiButton1, kXiButton2, kPanel1, kImage1, kLabel1 };

  TCategoryForm(const FormTraits& traits, const CleanRules& clean) : traits_(traits), clean_(clean) {}

  // Creates the hidden window; its first scan runs as `first` says.
  bool Create(FirstScan first = FirstScan::AtCreate);

  // The wizard's three operations: click the scan button, read the found count, click delbtn.
  // The clean never runs a waiting first scan: it deletes only what a scan has listed.
  void ClickScan();
  int FoundCount() { return Scanned().foundCount_; }
  void ClickDelete();
  // How many of the items that were ticked for the last clean are still there after it.
  int LeftAfterClean() const { return leftAfterClean_; }
  // True from a WhenAsked creation until the first scan has run.
  bool ScanPending() const { return scanPending_; }
  // The form once it has scanned: a first scan that still waits runs here. Whatever reads
  // a scan's results (the trace list, the found count, the status label, the detail
  // dialog) comes through here, and so does a test that adds items to a live form.
  TCategoryForm& Scanned();

  // Shows the form as the modeless detail dialog, or brings it to the front.
  void ShowDetail();

  const FormTraits& Traits() const { return traits_; }
  const CleanRules& Clean() const { return clean_; }
  TraceList& Traces() { return Scanned().traces_; }
  HWND StatusLabel() { return Scanned().label1_; }
  HWND StatusIcon() const { return image1_; }
  HWND ScanButton() const { return scanButton_; }
  HWND DelButton() const { return delbtn_; }
  HWND OkButton() const { return (traits_.okIsButton1 ? XiButton1 : XiButton2).Handle(); }
  HWND CancelButton() const { return (traits_.okIsButton1 ? XiButton2 : XiButton1).Handle(); }

  // The adders put items on the list of a form that has scanned: from its probing step, or
  // from a test after Scanned(). An item added while the first scan still waits would be
  // lost when that scan clears the list.
  // Adds a ticked file trace for a collected path; `facts` are the listing's data for
  // it, or null. The size text is FormatSize of the file's size unless given.
  void AddFileTrace(const std::string& path, const FileFacts* facts, const std::string& info);
  void AddFileTrace(const std::string& path, const std::string& info, std::string sizeText);
  // Adds a ticked registry trace for a name under a key path (written with its leading
  // backslash); Info is the value's string data unless a fixed text is given.
  void AddRegistryTrace(Root root, const std::string& keyPath, const std::string& name,
                        const char* fixedInfo = nullptr);
  // The same, reading the value's data from the key, which the caller holds open.
  void AddRegistryTrace(Root root, const std::string& keyPath, const std::string& name, HKEY openKey);
  // Adds a ticked trace inside the store of `kind` at `place` (rows of a database): what
  // `name` stands for, `size` telling how much.
  void AddDatabaseTrace(const StoreKind& kind, const StorePlace& place, const std::string& name,
                        const std::string& info, std::string size);
  // Adds an item whose texts the category builds itself (summary and clipboard items).
  void AddTrace(TraceItem item);

  // The hidden string lists: ListBox[1] is the staging list, the others working lists.
  TextList ListBox[13];
  TextList Memo1, Memo2, Memo3;
  // The detail dialog's "OK" and "Cancel" (which is which differs per form).
  TXiButton XiButton1, XiButton2;

 protected:
  // The category's probing step, between the scan frame's set-up and its end.
  virtual void Probe() = 0;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR* header, LRESULT* result) override;
  void CreateControls() override;
  // The icon, the gradient buttons and the places Layout gives, for the DPI of the layout.
  void ApplyDpi(bool changed) override;

 private:
  void scanbtnClick();
  void delbtnClick();
  void SetStatusLabel();
  void Layout();

  const FormTraits& traits_;
  const CleanRules& clean_;
  TraceList traces_;
  int foundCount_ = 0;
  int leftAfterClean_ = 0;
  bool scanPending_ = false;
  HWND scanButton_ = nullptr, delbtn_ = nullptr, panel1_ = nullptr, image1_ = nullptr, label1_ = nullptr;
  UniqueHandle<HICON, DestroyIcon> statusIcon_;
};

}  // namespace zarn
