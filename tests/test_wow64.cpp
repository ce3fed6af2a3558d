// The program on 64-bit Windows, as a native 64-bit process and as a 32-bit one under WOW64:
// the catalogue finds programs registered in either registry view and in either programs
// folder, Google Update's keys in the 32-bit view only, and the System scan lists and cleans
// the WMI logs of the real system32, never their SysWOW64 namesakes. A 64-bit process names
// that folder "system32"; a 32-bit one reaches it only as "Sysnative". Runs in a 64-bit test
// prefix; these tests write the machine's own keys and folders, so they run only there.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/catalogue.h"
#include "categories/windsys.h"
#include "tests/support/category_test.h"
#include "traces/base_folders.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kMozilla[] = "SOFTWARE\\Mozilla";

constexpr bool kNative64 = sizeof(void*) == 8;

#define ZARN_REQUIRE_WOW64()                                                                   \
  do {                                                                                         \
    ZARN_REQUIRE_THROWAWAY_PREFIX();                                                           \
    if (!kNative64 && !RunsUnderWow64()) GTEST_SKIP() << "runs only on 64-bit Windows";        \
  } while (0)

REGSAM Flag(RegistryView view) { return view == RegistryView::Wow64_64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

bool RawKeyExists(const char* key, REGSAM view) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | view, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool Offers(const std::string& caption) {
  auto rows = BuildCatalogue();
  return std::any_of(rows.begin(), rows.end(), [&](const CatalogueRow& r) { return r.caption == caption; });
}

TEST(Wow64CatalogueTest, FirefoxIsOfferedFromEitherRegistryView) {
  ZARN_REQUIRE_WOW64();
  ASSERT_FALSE(RawKeyExists(kMozilla, KEY_WOW64_64KEY));
  ASSERT_FALSE(RawKeyExists(kMozilla, KEY_WOW64_32KEY));
  struct Case {
    const char* what;
    std::vector<RegistryView> views;
    bool offered;
  };
  const Case cases[] = {
      {"64-bit view only", {RegistryView::Wow64_64}, true},
      {"32-bit view only", {RegistryView::Wow64_32}, true},
      {"neither view", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (RegistryView view : c.views) {
      HKEY k = nullptr;
      ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMozilla, 0, nullptr, 0, KEY_ALL_ACCESS | Flag(view), nullptr, &k,
                                nullptr),
                ERROR_SUCCESS);
      RegCloseKey(k);
      // The views really are apart: the key is not seen in the other one.
      const RegistryView other = view == RegistryView::Wow64_64 ? RegistryView::Wow64_32 : RegistryView::Wow64_64;
      ASSERT_FALSE(RawKeyExists(kMozilla, Flag(other)));
    }
    EXPECT_EQ(Offers("Mozilla Firefox"), c.offered);
    for (RegistryView view : c.views) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kMozilla, Flag(view), 0);
  }
}

TEST(Wow64CatalogueTest, ProcessKindIsTheBuildOne) {
  ZARN_REQUIRE_WOW64();
  // A 64-bit process never runs under WOW64; a 32-bit one on 64-bit Windows always does.
  EXPECT_NE(RunsUnderWow64(), kNative64);
}

TEST(Wow64CatalogueTest, ChromeIsOfferedFromGoogleUpdatesKeyInThe32BitViewOnly) {
  ZARN_REQUIRE_WOW64();
  const char kUpdater[] = "Software\\Google\\Update\\Clients\\{8A69D345-D564-463c-AFF1-A69D9E530F96}";
  ASSERT_FALSE(Offers("Google Chrome"));
  struct Case {
    const char* what;
    REGSAM view;
    bool offered;
  };
  // Google Update is a 32-bit program on every Windows: what it writes lands in the 32-bit
  // view, which a 64-bit process reads only when it asks for it.
  for (const Case& c : {Case{"64-bit view", KEY_WOW64_64KEY, false}, Case{"32-bit view", KEY_WOW64_32KEY, true}}) {
    SCOPED_TRACE(c.what);
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUpdater, 0, nullptr, 0, KEY_ALL_ACCESS | c.view, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(Offers("Google Chrome"), c.offered);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUpdater, c.view, 0);
  }
}

TEST(Wow64CatalogueTest, SafariIsOfferedFromEitherProgramsFolder) {
  ZARN_REQUIRE_WOW64();
  // The 32-bit view's folders are written by Wine's 32-bit half, which a machine that runs no
  // 32-bit code never starts: its 64-bit prefix has an empty SysWOW64.
  char wow64[MAX_PATH] = "";
  if (kNative64 && GetSystemWow64DirectoryA(wow64, MAX_PATH) &&
      GetFileAttributesA((std::string(wow64) + "\\kernel32.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the prefix has no 32-bit side: 32-bit code does not run here";
  ASSERT_FALSE(Offers("Safari"));
  for (RegistryView view : {RegistryView::Wow64_64, RegistryView::Wow64_32}) {
    const std::string programs =
        ReadMachineString("Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", view);
    SCOPED_TRACE(programs);
    ASSERT_FALSE(programs.empty());
    const std::string exe = programs + "\\Safari\\Safari.exe";
    Sandbox::WriteFile(exe);
    EXPECT_TRUE(Offers("Safari"));
    DeleteFileA(exe.c_str());
    RemoveDirectoryA((programs + "\\Safari").c_str());
  }
}

class Wow64WindSysTest : public CategoryTest {};

TEST_F(Wow64WindSysTest, WbemLogsOfTheRealSystem32AreListedAndCleanedNotTheirSysWow64Namesakes) {
  ZARN_REQUIRE_WOW64();
  char windows[MAX_PATH];
  const UINT n = GetSystemWindowsDirectoryA(windows, sizeof windows);
  ASSERT_GT(n, 0u);
  const std::string w(windows, n);
  Sandbox::SetString(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", w);
  const std::string name = "zarn-" + std::to_string(GetCurrentProcessId()) + ".log";
  const std::string native = w + (kNative64 ? "\\system32" : "\\Sysnative") + "\\wbem\\Logs\\";
  const std::string wow = w + "\\SysWOW64\\wbem\\Logs\\";
  Sandbox::WriteFile(native + name, "native");
  Sandbox::WriteFile(wow + name, "32-bit");

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  std::vector<std::string> ours;
  for (size_t i = 0; i < form.Traces().Count(); ++i) {
    const TraceItem& item = form.Traces().Item(i);
    if (item.name == name) {
      ours.push_back(item.location + item.name);
    } else {
      form.Traces().SetTicked(i, false);  // the prefix's own files stay
    }
  }
  EXPECT_EQ(ours, (std::vector<std::string>{native + name}));
  form.ClickDelete();
  EXPECT_FALSE(Sandbox::Exists(native + name));
  EXPECT_TRUE(Sandbox::Exists(wow + name));
  DeleteFileA((native + name).c_str());
  DeleteFileA((wow + name).c_str());
}

}  // namespace
