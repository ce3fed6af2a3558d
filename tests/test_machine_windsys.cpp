// The System category against the machine's real clipboard and recycle bin. Runs only in
// the throwaway Wine prefix; other test programs may use the recycle bin at the same time,
// so its counts are compared, never assumed.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "categories/windsys.h"
#include "tests/support/category_test.h"
#include "traces/probes.h"

using namespace zarn;
using namespace zarn::test;

namespace {

std::vector<TraceItem> ItemsAt(TCategoryForm& form, const std::string& location) {
  std::vector<TraceItem> items;
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (form.Traces().Item(i).location == location) items.push_back(form.Traces().Item(i));
  return items;
}

void UntickAllBut(TCategoryForm& form, const std::string& location) {
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (form.Traces().Item(i).location != location) SetTick(form.Traces().Handle(), static_cast<int>(i), false);
}

HGLOBAL GlobalWith(const void* data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  std::memcpy(GlobalLock(h), data, size);
  GlobalUnlock(h);
  return h;
}

HBITMAP SmallBitmap() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HENHMETAFILE SmallMetafile() {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  Rectangle(dc, 0, 0, 10, 10);
  return CloseEnhMetaFile(dc);
}

HGLOBAL DropList(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths) names.append(path).push_back('\0');
  names.push_back('\0');
  std::string block(sizeof(DROPFILES), '\0');
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  block += names;
  return GlobalWith(block.data(), block.size());
}

// Puts formats on the clipboard as another program does: opened by an owner window,
// emptied, then each format set.
class ClipboardTest : public CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    ZARN_REQUIRE_THROWAWAY_PREFIX();
    owner_ = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (!owner_) return;
    if (OpenClipboard(owner_)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(owner_);
  }

  void Put(const std::vector<std::pair<UINT, HANDLE>>& formats) {
    ASSERT_TRUE(OpenClipboard(owner_));
    EmptyClipboard();
    for (auto [format, handle] : formats) EXPECT_NE(SetClipboardData(format, handle), nullptr) << format;
    CloseClipboard();
  }
  void PutText(const std::string& text) { Put({{CF_TEXT, GlobalWith(text.c_str(), text.size() + 1)}}); }

  std::vector<TraceItem> ScanClipboard() {
    TWindSysForm form;
    EXPECT_TRUE(form.Create());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "the scan left the clipboard open";
    return ItemsAt(form, "Clipboard");
  }

  HWND owner_ = nullptr;
};

TEST_F(ClipboardTest, TextOfSeveralLinesIsOneItemNamedWithTheWholeText) {
  PutText("first line\r\nsecond line\r\n\tthird");
  auto items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "first line\r\nsecond line\r\n\tthird");
  EXPECT_EQ(items[0].type, "Text File");
  EXPECT_EQ(items[0].info, "Text File in Clipboard");
  EXPECT_EQ(items[0].size, "");
}

// Under the UTF-8 code page the item shows the text the user copied in any language, not
// the system code page's rendering of it; text put as CF_TEXT comes back as it was put.
TEST_F(ClipboardTest, CopiedTextInAnyLanguageIsShownAsCopied) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest asks for the UTF-8 code page";
  const wchar_t wide[] = L"Привет,\r\nΓειά σου, 你好";
  const std::string utf8 =
      "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82,\r\n\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC "
      "\xCF\x83\xCE\xBF\xCF\x85, \xE4\xBD\xA0\xE5\xA5\xBD";
  for (auto [format, handle] : {std::pair<UINT, HANDLE>{CF_UNICODETEXT, GlobalWith(wide, sizeof wide)},
                                {CF_TEXT, GlobalWith(utf8.c_str(), utf8.size() + 1)}}) {
    Put({{format, handle}});
    const std::vector<TraceItem> items = ScanClipboard();
    ASSERT_EQ(items.size(), 1u) << format;
    EXPECT_EQ(items[0].name, utf8) << format;
  }
}

TEST_F(ClipboardTest, PicturesGiveOneImageItem) {
  Put({{CF_BITMAP, SmallBitmap()}});
  auto items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "Image File");
  EXPECT_EQ(items[0].type, "Image File");
  EXPECT_EQ(items[0].info, "Image File in Clipboard");

  Put({{CF_ENHMETAFILE, SmallMetafile()}});
  items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "Image File");
}

TEST_F(ClipboardTest, TextWinsOverABitmap) {
  const std::string text = "copied text";
  Put({{CF_BITMAP, SmallBitmap()}, {CF_TEXT, GlobalWith(text.c_str(), text.size() + 1)}});
  auto items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].type, "Text File");
  EXPECT_EQ(items[0].name, text);
}

TEST_F(ClipboardTest, DroppedFilesGiveOneItemPerPathEvenAtFullLength) {
  const std::string a = sandbox.Dir() + "\\a.doc", b = sandbox.Dir() + "\\b b.xls", c = sandbox.Dir() + "\\c";
  Put({{CF_HDROP, DropList({a, b, c})}});
  auto items = ScanClipboard();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].name, a);
  EXPECT_EQ(items[1].name, b);
  EXPECT_EQ(items[2].name, c);
  for (const TraceItem& item : items) {
    EXPECT_EQ(item.type, "Path File");
    EXPECT_EQ(item.info, "Path File in Clipboard");
    EXPECT_EQ(item.size, "");
  }

  std::string full = "C:\\";
  full += std::string(260 - full.size() - 4, 'n') + ".dat";
  ASSERT_EQ(full.size(), 260u);
  std::string longer = "C:\\" + std::string(300, 'm');
  Put({{CF_HDROP, DropList({full, full, longer})}});
  items = ScanClipboard();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].name, full);
  EXPECT_EQ(items[1].name, full);
  EXPECT_EQ(items[2].name, longer);
}

TEST_F(ClipboardTest, MalformedDropListsAddNothing) {
  DROPFILES header{};
  header.pFiles = 100000;  // far past the block
  Put({{CF_HDROP, GlobalWith(&header, sizeof header)}});
  EXPECT_TRUE(ScanClipboard().empty());

  std::string unterminated(sizeof(DROPFILES), '\0');
  reinterpret_cast<DROPFILES*>(unterminated.data())->pFiles = sizeof(DROPFILES);
  unterminated += std::string(64, 'x');
  Put({{CF_HDROP, GlobalWith(unterminated.data(), unterminated.size())}});
  EXPECT_TRUE(ScanClipboard().empty());
}

TEST_F(ClipboardTest, HugeTextAndTextWithoutTerminatorAreReadWithinTheirBlock) {
  std::string big;
  for (int i = 0; big.size() < 6 * 1048576; ++i) big += "line " + std::to_string(i) + "\r\n";
  PutText(big);
  auto items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name.size(), big.size());
  EXPECT_TRUE(items[0].name == big);

  const std::string noZero(100, 'z');
  Put({{CF_TEXT, GlobalWith(noZero.data(), noZero.size())}});
  items = ScanClipboard();
  ASSERT_EQ(items.size(), 1u);
  // Wine stores such text with its last byte made a zero; either way nothing past the
  // block is read.
  EXPECT_GE(items[0].name.size(), 99u);
  EXPECT_LE(items[0].name.size(), 100u);
  EXPECT_EQ(items[0].name, noZero.substr(0, items[0].name.size()));
}

TEST_F(ClipboardTest, EmptyClipboardAddsNothing) {
  Put({});
  EXPECT_TRUE(ScanClipboard().empty());
}

struct ClipboardHolder {
  static DWORD WINAPI Run(void* param) {
    auto* self = static_cast<ClipboardHolder*>(param);
    self->opened = OpenClipboard(nullptr) != FALSE;
    SetEvent(self->ready);
    WaitForSingleObject(self->release, 20000);
    if (self->opened) CloseClipboard();
    return 0;
  }
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  bool opened = false;
};

TEST_F(ClipboardTest, ClipboardHeldByAnotherProgramIsSkippedAndTheScanGoesOn) {
  PutText("held text");
  Sandbox::WriteFile(sandbox.systemRoot + "\\MiniDump\\after.dmp");
  Sandbox::WriteFile(sandbox.systemRoot + "\\security\\logs\\after.log");
  ClipboardHolder holder;
  HANDLE thread = CreateThread(nullptr, 0, ClipboardHolder::Run, &holder, 0, nullptr);
  WaitForSingleObject(holder.ready, 5000);
  ASSERT_TRUE(holder.opened);

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  SetEvent(holder.release);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  CloseHandle(holder.ready);
  CloseHandle(holder.release);

  EXPECT_TRUE(ItemsAt(form, "Clipboard").empty());
  EXPECT_EQ(ItemsAt(form, sandbox.systemRoot + "\\MiniDump\\").size(), 1u);
  EXPECT_EQ(ItemsAt(form, sandbox.systemRoot + "\\security\\logs\\").size(), 1u);
  EXPECT_EQ(form.FoundCount(), static_cast<int>(form.Traces().Count()));
  EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(form.FoundCount()) + " Files founds");

  // Once the other program lets go, the next scan reads it again.
  form.ClickScan();
  EXPECT_EQ(ItemsAt(form, "Clipboard").size(), 1u);
}

TEST_F(ClipboardTest, CleaningClipboardItemsEmptiesTheClipboardButKeepsTheNamedFiles) {
  const std::string a = sandbox.Dir() + "\\keep1.doc", b = sandbox.Dir() + "\\keep2.doc";
  Sandbox::WriteFile(a);
  Sandbox::WriteFile(b);
  Put({{CF_HDROP, DropList({a, b})}});
  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(ItemsAt(form, "Clipboard").size(), 2u);
  UntickAllBut(form, "Clipboard");
  form.ClickDelete();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  EXPECT_TRUE(Sandbox::Exists(a));
  EXPECT_TRUE(Sandbox::Exists(b));
  EXPECT_EQ(form.Traces().Count(), static_cast<size_t>(form.FoundCount()));
}

TEST_F(ClipboardTest, UntickedClipboardItemLeavesTheClipboardAlone) {
  PutText("stay");
  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  for (size_t i = 0; i < form.Traces().Count(); ++i) SetTick(form.Traces().Handle(), static_cast<int>(i), false);
  form.ClickDelete();
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
}

class RecycleBinTest : public CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    ZARN_REQUIRE_THROWAWAY_PREFIX();
  }

  static SHQUERYRBINFO Query() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(SHQueryRecycleBinA(nullptr, &info), S_OK);
    return info;
  }

  void Recycle(const std::vector<std::string>& paths) {
    std::string from;
    for (const std::string& path : paths) from.append(path).push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT;
    ASSERT_EQ(SHFileOperationA(&op), 0);
    for (const std::string& path : paths) ASSERT_FALSE(Sandbox::Exists(path));
  }
};

TEST_F(RecycleBinTest, SummaryItemComesFirstAndCleaningEmptiesTheBin) {
  std::vector<std::string> files;
  for (int i = 0; i < 3; ++i) {
    files.push_back(sandbox.Dir() + "\\recycled" + std::to_string(i) + ".txt");
    Sandbox::WriteFile(files.back(), std::string(1000, 'r'));
  }
  Recycle(files);
  ASSERT_GE(Query().i64NumItems, 3);
  Sandbox::WriteFile(sandbox.systemRoot + "\\Temp\\neighbour.tmp");

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_GE(form.Traces().Count(), 2u);
  const TraceItem& summary = form.Traces().Item(0);
  EXPECT_EQ(summary.location, "Recycle Bin");
  EXPECT_EQ(summary.type, "Delete File");
  EXPECT_EQ(summary.info, "");
  const std::string suffix = " files in Recycle Bin";
  ASSERT_GT(summary.name.size(), suffix.size());
  EXPECT_EQ(summary.name.substr(summary.name.size() - suffix.size()), suffix);
  EXPECT_GE(std::stoll(summary.name), 3);
  EXPECT_NE(summary.size.find_first_of("0123456789"), std::string::npos);
  EXPECT_EQ(ItemsAt(form, "Recycle Bin").size(), 1u);

  UntickAllBut(form, "Recycle Bin");
  MessageBoxWatcher watcher;
  form.ClickDelete();
  EXPECT_EQ(watcher.Count(), 0);
  EXPECT_EQ(Query().i64NumItems, 0);
  EXPECT_TRUE(Sandbox::Exists(sandbox.systemRoot + "\\Temp\\neighbour.tmp"));

  form.ClickScan();
  EXPECT_TRUE(ItemsAt(form, "Recycle Bin").empty());
  EXPECT_EQ(form.FoundCount(), static_cast<int>(form.Traces().Count()));
}

}  // namespace
