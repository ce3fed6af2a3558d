// The System category: temporary files, memory dumps and log files in a sandboxed Windows
// folder, the version resource read, the recycle bin summary rule, and the cleaner's file
// traces. Tests that change the clipboard or the recycle bin are in test_machine_windsys.
#include <windows.h>

#include <gtest/gtest.h>

#include "categories/windsys.h"
#include "tests/support/category_test.h"
#include "traces/probes.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
// The rows that came from files; the recycle bin and the clipboard are the machine's and
// may hold anything while these tests run.
std::vector<ShownRow> FileRows(TCategoryForm& form) {
  std::vector<ShownRow> rows;
  for (ShownRow& row : ReadList(form.Traces().Handle()))
    if (row.Location() != "Recycle Bin" && row.Location() != "Clipboard") rows.push_back(std::move(row));
  return rows;
}

// Unticks the items that would empty the machine's recycle bin or clipboard.
void UntickMachineItems(TCategoryForm& form) {
  for (size_t i = 0; i < form.Traces().Count(); ++i) {
    const std::string& location = form.Traces().Item(i).location;
    if (location == "Recycle Bin" || location == "Clipboard")
      SetTick(form.Traces().Handle(), static_cast<int>(i), false);
  }
}

// Wine run by root opens a read-only file for writing all the same; the rule for read-only
// files can only be seen where the platform refuses that.
bool ReadOnlyRefusesWriting(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return true;
  CloseHandle(h);
  return false;
}

class WindSysTest : public CategoryTest {
 protected:
  std::string W() const { return sandbox.systemRoot; }
  std::string L() const { return sandbox.localSettings; }
};

TEST_F(WindSysTest, TemporaryFilesOfWindowsThenUserFolderExistingAndUnlockedOnly) {
  Sandbox::WriteFile(W() + "\\Temp\\win.tmp", "12345");
  Sandbox::WriteFile(L() + "\\Temp\\user.tmp", std::string(1536, 'u'));
  Sandbox::WriteFile(L() + "\\Temp\\notes.txt");
  Sandbox::MakeDir(L() + "\\Temp\\folder.tmp");
  Sandbox::WriteFile(L() + "\\Temp\\held.tmp");
  Sandbox::WriteFile(L() + "\\Temp\\readonly.tmp");
  SetFileAttributesA((L() + "\\Temp\\readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
  HeldOpen held(L() + "\\Temp\\held.tmp");
  ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  auto rows = FileRows(form);
  std::vector<std::string> expected = {W() + "\\Temp\\win.tmp", L() + "\\Temp\\user.tmp"};
  if (!ReadOnlyRefusesWriting(L() + "\\Temp\\readonly.tmp"))
    std::erase_if(rows, [](const ShownRow& row) { return row.Name() == "readonly.tmp"; });
  ASSERT_EQ(Paths(rows), expected);
  EXPECT_TRUE(rows[0].ticked);
  EXPECT_EQ(rows[0].Type(), ".tmp");
  EXPECT_EQ(rows[0].Info(), "All items listed in Temporary Folder");
  EXPECT_EQ(rows[0].Size(), "5 bytes");
  EXPECT_EQ(rows[1].Size(), "1.50 KB");
  EXPECT_EQ(ColumnCaptions(form.Traces().Handle())[0], "File Names");
  EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(form.FoundCount()) + " Files founds");
  SetFileAttributesA((L() + "\\Temp\\readonly.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindSysTest, MemoryDumpsAreListedEvenWhenHeldOpenOrReadOnly) {
  Sandbox::WriteFile(W() + "\\memory.dmp", "dump");
  Sandbox::WriteFile(W() + "\\other.dmp");
  Sandbox::WriteFile(W() + "\\MiniDump\\Mini01.dmp", "mini");
  Sandbox::WriteFile(W() + "\\MiniDump\\readme.txt");
  SetFileAttributesA((W() + "\\MiniDump\\Mini01.dmp").c_str(), FILE_ATTRIBUTE_READONLY);
  HeldOpen held(W() + "\\memory.dmp");
  ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  auto rows = FileRows(form);
  ASSERT_EQ(Paths(rows), (std::vector<std::string>{W() + "\\memory.dmp", W() + "\\MiniDump\\Mini01.dmp"}));
  EXPECT_EQ(rows[0].Info(), "Memory Dump");
  EXPECT_EQ(rows[0].Type(), ".dmp");
  EXPECT_EQ(rows[1].Size(), "4 bytes");
  SetFileAttributesA((W() + "\\MiniDump\\Mini01.dmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindSysTest, LogFilesFollowTheLocationOrderAndTheirCaseSensitiveRules) {
  if (W().find("log") != std::string::npos) GTEST_SKIP() << "the sandbox path itself holds \"log\"";
  Sandbox::WriteFile(W() + "\\system32\\wbem\\Logs\\wbem.log");
  Sandbox::WriteFile(W() + "\\system32\\wbem\\Logs\\wbem.lo_");
  Sandbox::WriteFile(W() + "\\setupapi.log", "123");
  Sandbox::WriteFile(W() + "\\WindowsUpdate.log");
  Sandbox::MakeDir(W() + "\\folder.log");
  Sandbox::WriteFile(W() + "\\SETUPLOG.TXT");
  Sandbox::WriteFile(W() + "\\Debug\\PASSWD.LOG");
  Sandbox::WriteFile(W() + "\\Debug\\netsetup.log");
  Sandbox::WriteFile(W() + "\\Debug\\UserMode\\userenv.log");
  Sandbox::WriteFile(W() + "\\Debug\\UserMode\\userenv.bak");
  Sandbox::WriteFile(W() + "\\security\\logs\\scepol.log");
  Sandbox::WriteFile(W() + "\\security\\logs\\winlogon.old");
  Sandbox::WriteFile(W() + "\\security\\logs\\held.log");
  HeldOpen held(W() + "\\security\\logs\\held.log");

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  auto rows = FileRows(form);
  std::vector<std::string> paths = Paths(rows);
  // Within the Windows folder itself the file system's order decides.
  std::vector<std::string> expectedFolderLogs = {W() + "\\setupapi.log", W() + "\\folder.log"};
  ASSERT_EQ(paths.size(), 9u);
  EXPECT_EQ(paths[0], W() + "\\system32\\wbem\\Logs\\wbem.log");
  EXPECT_EQ(paths[1], W() + "\\system32\\wbem\\Logs\\wbem.lo_");
  std::vector<std::string> folderLogs(paths.begin() + 2, paths.begin() + 4);
  std::sort(folderLogs.begin(), folderLogs.end());
  std::sort(expectedFolderLogs.begin(), expectedFolderLogs.end());
  EXPECT_EQ(folderLogs, expectedFolderLogs);
  EXPECT_EQ(std::vector<std::string>(paths.begin() + 4, paths.end()),
            (std::vector<std::string>{W() + "\\Debug\\netsetup.log", W() + "\\Debug\\UserMode\\userenv.log",
                                      W() + "\\Debug\\UserMode\\userenv.bak", W() + "\\security\\logs\\scepol.log",
                                      W() + "\\security\\logs\\winlogon.old"}));
  for (const ShownRow& row : rows) EXPECT_EQ(row.Info(), "Log File");
  const int folderRow = FindRow(form.Traces().Handle(), "folder.log");
  ASSERT_GE(folderRow, 0);
  EXPECT_EQ(form.Traces().Item(folderRow).size, "0 bytes");
}

TEST_F(WindSysTest, LogTextFilesNeedALowerCaseLog) {
  if (W().find("log") != std::string::npos) GTEST_SKIP() << "the sandbox path itself holds \"log\"";
  Sandbox::WriteFile(W() + "\\setuplog.txt");
  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(Paths(FileRows(form)), (std::vector<std::string>{W() + "\\setuplog.txt"}));
  DeleteFileA((W() + "\\setuplog.txt").c_str());
  Sandbox::WriteFile(W() + "\\SETUPLOG.TXT");
  form.ClickScan();
  EXPECT_TRUE(FileRows(form).empty());
}

// A missing or empty folder value must not turn "\Temp\", "\MiniDump\" or "\*.log" into
// locations on the current drive: the cleaner would delete what lies there.
TEST_F(WindSysTest, MissingOrEmptyFolderValuesNeverReachTheDriveRoot) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  const std::string tag = "zarn-" + std::to_string(GetCurrentProcessId());
  const std::vector<std::string> bait = {"\\" + tag + ".log", "\\Temp\\" + tag + ".tmp", "\\MiniDump\\" + tag + ".dmp",
                                         "\\Debug\\" + tag + ".log"};
  for (const std::string& path : bait) Sandbox::WriteFile(path);
  for (bool empty : {true, false}) {
    SCOPED_TRACE(empty ? "empty values" : "missing values");
    if (empty) {
      Sandbox::SetString(Root::HKLM, kNtKey, "SystemRoot", "");
      Sandbox::SetString(Root::HKCU, kShellFolders, "Local Settings", "");
    } else {
      Sandbox::DeleteValue(Root::HKLM, kNtKey, "SystemRoot");
      Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local Settings");
    }
    TWindSysForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_TRUE(FileRows(form).empty());
    EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(form.FoundCount()) + " Files founds");
  }
  for (const std::string& path : bait) EXPECT_TRUE(Sandbox::Exists(path)) << path;
  for (const std::string& path : bait) DeleteFileA(path.c_str());
}

TEST_F(WindSysTest, CleanerDeletesTickedFilesOnlyAndClearsTheirAttributes) {
  Sandbox::WriteFile(W() + "\\Temp\\a.tmp");
  Sandbox::WriteFile(W() + "\\Temp\\b.tmp");
  Sandbox::WriteFile(W() + "\\Temp\\keep.txt");
  Sandbox::WriteFile(W() + "\\MiniDump\\ro.dmp");
  SetFileAttributesA((W() + "\\MiniDump\\ro.dmp").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Sandbox::WriteFile(W() + "\\security\\logs\\old.log");

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  UntickMachineItems(form);
  const int b = FindRow(form.Traces().Handle(), "b.tmp");
  ASSERT_GE(b, 0);
  SetTick(form.Traces().Handle(), b, false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::Exists(W() + "\\Temp\\a.tmp"));
  EXPECT_TRUE(Sandbox::Exists(W() + "\\Temp\\b.tmp"));
  EXPECT_TRUE(Sandbox::Exists(W() + "\\Temp\\keep.txt"));
  EXPECT_FALSE(Sandbox::Exists(W() + "\\MiniDump\\ro.dmp"));
  EXPECT_FALSE(Sandbox::Exists(W() + "\\security\\logs\\old.log"));
  EXPECT_TRUE(Sandbox::Exists(W() + "\\security\\logs"));
  // The list stays as it was after the clean.
  EXPECT_EQ(FileRows(form).size(), 4u);
}

TEST(ReadFileVersionTest, ShellLibraryHasAVersionAndOtherFilesGiveZero) {
  const DWORD shell = ReadFileVersion("shell32.dll");
  EXPECT_NE(shell, 0u);
  EXPECT_TRUE(ShellCanQueryRecycleBin(shell));

  Sandbox sandbox;
  const std::string text = sandbox.Dir() + "\\plain.txt";
  Sandbox::WriteFile(text, "no version resource here");
  EXPECT_EQ(ReadFileVersion(text), 0u);
  EXPECT_EQ(ReadFileVersion(sandbox.Dir() + "\\missing.dll"), 0u);
  EXPECT_EQ(ReadFileVersion(""), 0u);
}

TEST(RecycleBinRuleTest, QueryNeedsShellVersion472) {
  EXPECT_FALSE(ShellCanQueryRecycleBin(0));
  EXPECT_FALSE(ShellCanQueryRecycleBin(MAKELONG(71, 4)));
  EXPECT_TRUE(ShellCanQueryRecycleBin(MAKELONG(72, 4)));
  EXPECT_TRUE(ShellCanQueryRecycleBin(MAKELONG(0, 5)));
  EXPECT_FALSE(ShellCanQueryRecycleBin(MAKELONG(99, 3)));
}

TEST(RecycleBinRuleTest, SummaryOnlyForASucceededQueryWithItems) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  info.i64NumItems = 12;
  info.i64Size = 3 * 1048576;
  auto summary = RecycleBinSummary(S_OK, info);
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->name, "12 files in Recycle Bin");
  EXPECT_EQ(summary->location, "Recycle Bin");
  EXPECT_EQ(summary->type, "Delete File");
  EXPECT_EQ(summary->info, "");
  EXPECT_EQ(summary->size, "3.00 MB");
  EXPECT_FALSE(RecycleBinSummary(E_FAIL, info));
  EXPECT_FALSE(RecycleBinSummary(E_INVALIDARG, info));
  info.i64NumItems = 0;
  EXPECT_FALSE(RecycleBinSummary(S_OK, info));
}

TEST(EmptyRecycleBinTest, LibraryThatCannotLoadIsReported) {
  MessageBoxWatcher watcher;
  EmptyRecycleBin("zarn-no-such-library.dll");
  for (int i = 0; i < 100 && watcher.Count() == 0; ++i) PumpMessages(10);
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(watcher.Text(), "loading Shell32.dll failed");
}

TEST(EmptyRecycleBinTest, LibraryWithoutTheEntryPointIsPassedOverSilently) {
  MessageBoxWatcher watcher;
  EmptyRecycleBin("version.dll");
  PumpMessages(100);
  EXPECT_EQ(watcher.Count(), 0);
}

}  // namespace
