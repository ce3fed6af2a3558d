#include "traces/category_form.h"

#include <commctrl.h>

#include "traces/probes.h"

namespace zarn {
namespace {

constexpr int kPanelHeight = 57;
constexpr int kMargin = 8;
constexpr COLORREF kPanelGrey = RGB(235, 235, 235);

TraceItem RegistryTrace(Root root, const std::string& keyPath, const std::string& name, std::string info) {
  TraceItem item;
  item.name = name;
  item.location = RootText(root) + keyPath;
  item.type = kRegistryData;
  item.info = std::move(info);
  return item;
}

}  // namespace

bool TCategoryForm::Create(FirstScan first) {
  const FormShape shape = {.className = traits_.className,
                         .title = traits_.title,
                         .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         .width = 700,
                         .height = traits_.height,
                         .iconId = traits_.iconId};
  if (!CreateForm(shape)) return false;
  if (first == FirstScan::AtCreate)
    ClickScan();
  else
    scanPending_ = true;
  return true;
}

void TCategoryForm::CreateControls() {
  scanButton_ = CreateChild(hwnd_, "BUTTON", traits_.scanButtonName, BS_PUSHBUTTON, 0, 0, 75, 25, kScanButton);
  delbtn_ = CreateChild(hwnd_, "BUTTON", "delbtn", BS_PUSHBUTTON, 0, 0, 75, 25, kDelButton);
  traces_.Create(hwnd_, kTraceList, kMargin, kMargin, 673, 321);

  panel1_ = CreatePanel(hwnd_, kMargin, 0, 673, kPanelHeight, PanelEdge::SunkenDouble, kPanelGrey, kPanel1);
  ShowWindow(panel1_, SW_SHOWNA);
  DWORD statusVisible = traits_.statusHiddenUntilScan ? 0 : WS_VISIBLE;
  image1_ = CreateChild(panel1_, "STATIC", "", statusVisible | SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, 8, 8, 41,
                        41, kImage1);
  label1_ = CreateChild(panel1_, "STATIC", "", statusVisible | SS_LEFT | SS_CENTERIMAGE, 56, 8, 300, 41, kLabel1);
  const bool ok1 = traits_.okIsButton1;
  XiButton1.Create(panel1_, ok1 ? IDOK : IDCANCEL, ok1 ? "OK" : "Cancel", 0, 16);
  XiButton2.Create(panel1_, ok1 ? IDCANCEL : IDOK, ok1 ? "Cancel" : "OK", 0, 16);
  for (TXiButton* button : {&XiButton1, &XiButton2}) button->SetColorScheme(TXiButton::csNeoSilver);
}

void TCategoryForm::ApplyDpi(bool changed) {
  const UINT dpi = layout_.Dpi();
  if (changed) traces_.SetColumns(traits_.firstColumn);
  // The category's icon drawn at the size for the DPI, 32 pixels at 96 DPI.
  const int size = layout_.Scale(32);
  UniqueHandle<HICON, DestroyIcon> icon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(traits_.iconId), IMAGE_ICON, size, size, 0)));
  SendMessageA(image1_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  statusIcon_ = std::move(icon);
  // The gradient buttons are placed by Layout, not by the layout's table: their font and
  // their lines follow the DPI here.
  for (TXiButton* button : {&XiButton1, &XiButton2}) {
    SendMessageA(button->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(layout_.Fonts().normal), FALSE);
    button->SetDpi(dpi);
  }
  Layout();
}

void TCategoryForm::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int margin = layout_.Scale(kMargin), panelHeight = layout_.Scale(kPanelHeight);
  const int gap = layout_.Scale(8), top = layout_.Scale(16), w = layout_.Scale(75), h = layout_.Scale(25);
  int width = client.right - 2 * margin;
  int panelTop = client.bottom - margin - panelHeight;
  MoveWindow(traces_.Handle(), margin, margin, width, panelTop - 2 * margin, TRUE);
  MoveWindow(panel1_, margin, panelTop, width, panelHeight, TRUE);
  // "OK" stands left of "Cancel", both anchored to the right edge.
  HWND ok = OkButton(), cancel = CancelButton();
  MoveWindow(cancel, width - gap - w, top, w, h, TRUE);
  MoveWindow(ok, width - gap - w - gap - w, top, w, h, TRUE);
}

void TCategoryForm::ClickScan() {
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(kScanButton, BN_CLICKED), reinterpret_cast<LPARAM>(scanButton_));
}

void TCategoryForm::ClickDelete() {
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(kDelButton, BN_CLICKED), reinterpret_cast<LPARAM>(delbtn_));
}

TCategoryForm& TCategoryForm::Scanned() {
  if (scanPending_) ClickScan();
  return *this;
}

void TCategoryForm::ShowDetail() {
  Scanned();
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
  BringWindowToTop(hwnd_);
}

void TCategoryForm::scanbtnClick() {
  scanPending_ = false;
  traces_.SetColumns(traits_.firstColumn);
  traces_.BeginAdding();
  traces_.Clear();
  for (TextList& list : ListBox) list.Clear();
  Memo1.Clear();
  Memo2.Clear();
  Memo3.Clear();
  Probe();
  traces_.FinishAdding();
  foundCount_ = static_cast<int>(traces_.Count());
  SetStatusLabel();
}

void TCategoryForm::SetStatusLabel() {
  std::string text;
  if (traits_.family == StatusFamily::A)
    text = std::to_string(foundCount_) + " Files founds";
  else
    text = foundCount_ > 0 ? std::to_string(foundCount_) + " Files Found" : traits_.emptyText;
  SetWindowTextA(label1_, text.c_str());
  if (traits_.statusHiddenUntilScan) {
    ShowWindow(image1_, SW_SHOWNA);
    ShowWindow(label1_, SW_SHOWNA);
  }
  if (traits_.family == StatusFamily::A) SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

void TCategoryForm::delbtnClick() {
  // Nothing has been listed yet, so nothing has been seen ticked.
  leftAfterClean_ = 0;
  if (scanPending_) return;
  leftAfterClean_ = static_cast<int>(RunCleaner(traces_, clean_, *this));
}

void TCategoryForm::AddTrace(TraceItem item) { traces_.Add(std::move(item)); }

void TCategoryForm::AddFileTrace(const std::string& path, const std::string& info, std::string sizeText) {
  TraceItem item;
  item.location = LocationOf(path);
  item.name = NameOf(path);
  item.type = ExtensionOf(item.name);
  item.info = info;
  item.size = std::move(sizeText);
  traces_.Add(std::move(item));
}

void TCategoryForm::AddDatabaseTrace(const StoreKind& kind, const StorePlace& place, const std::string& name,
                                     const std::string& info, std::string size) {
  AddTrace({.name = name,
            .location = place.path,
            .type = std::string(kDatabaseRows),
            .info = info,
            .size = std::move(size),
            .store = &kind,
            .base = place.base});
}

void TCategoryForm::AddFileTrace(const std::string& path, const FileFacts* facts, const std::string& info) {
  AddFileTrace(path, info, FormatSize(facts ? FileSizeText(*facts) : FileSizeText(path)));
}

void TCategoryForm::AddRegistryTrace(Root root, const std::string& keyPath, const std::string& name,
                                     const char* fixedInfo) {
  std::string info = fixedInfo ? std::string(fixedInfo)
                               : ReadRegString(!keyPath.empty() && keyPath[0] == '\\' ? keyPath.substr(1) : keyPath,
                                               name, RootKey(root));
  traces_.Add(RegistryTrace(root, keyPath, name, std::move(info)));
}

void TCategoryForm::AddRegistryTrace(Root root, const std::string& keyPath, const std::string& name, HKEY openKey) {
  traces_.Add(RegistryTrace(root, keyPath, name, ReadRegString(openKey, name)));
}

bool TCategoryForm::OnCommand(int id, int, HWND control) {
  switch (id) {
    case kScanButton: scanbtnClick(); return true;
    case kDelButton: delbtnClick(); return true;
    case IDOK:
    case IDCANCEL:
      // Only the two buttons themselves hide the window; the ticks stay as the user left
      // them. Neither is Default or Cancel, so the dialog manager's IDOK and IDCANCEL for
      // Enter and Escape do nothing here.
      if (control && (control == OkButton() || control == CancelButton())) ShowWindow(hwnd_, SW_HIDE);
      return true;
  }
  return false;
}

bool TCategoryForm::OnNotify(const NMHDR* header, LRESULT* result) { return traces_.HandleNotify(header, result); }

LRESULT TCategoryForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (panel1_) Layout();
      return 0;
    case WM_CLOSE: ShowWindow(hwnd_, SW_HIDE); return 0;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace zarn
