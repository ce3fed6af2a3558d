// The real program as a process: it shows page 1, and closing it ends it at once, also
// in the middle of the scan animation.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ProgramPath() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  path.resize(path.rfind('\\'));                                  // .../build/tests
  return path.substr(0, path.rfind('\\')) + "\\ZarnCleaner.exe";  // .../build
}

struct Program {
  PROCESS_INFORMATION pi{};
  HWND main = nullptr;
  bool Start() {
    STARTUPINFOA si{sizeof si};
    std::string command = "\"" + ProgramPath() + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    for (int i = 0; i < 300 && !main; ++i) {
      HWND found = FindWindowA("TMainForm", "ZARN CLEANER");
      DWORD pid = 0;
      if (found) GetWindowThreadProcessId(found, &pid);
      if (found && pid == pi.dwProcessId && IsWindowVisible(found))
        main = found;
      else
        Sleep(50);
    }
    return main != nullptr;
  }
  bool Ended(DWORD ms) { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
  ~Program() {
    if (pi.hProcess) {
      if (!Ended(0)) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

TEST(ProcessTest, ShowsPageOneAndTheCloseBoxEndsIt) {
  if (GetFileAttributesA(ProgramPath().c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no ZarnCleaner.exe beside the tests";
  Program program;
  ASSERT_TRUE(program.Start());
  HWND app = GetWindow(program.main, GW_OWNER);
  ASSERT_NE(app, nullptr);
  char title[64] = "";
  GetWindowTextA(app, title, sizeof title);
  EXPECT_STREQ(title, "Zarn Cleaner 2008");
  PostMessageA(program.main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.Ended(5000));
}

TEST(ProcessTest, CloseDuringTheScanAnimationEndsItAtOnce) {
  if (GetFileAttributesA(ProgramPath().c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no ZarnCleaner.exe beside the tests";
  Program program;
  ASSERT_TRUE(program.Start());
  HWND next = FindWindowExA(program.main, nullptr, "Button", "Next >");
  ASSERT_NE(next, nullptr);
  PostMessageA(next, BM_CLICK, 0, 0);
  Sleep(300);  // the animation of the first row is running now
  HWND close = FindWindowExA(program.main, nullptr, "Button", "Close");
  ASSERT_NE(close, nullptr);
  PostMessageA(close, BM_CLICK, 0, 0);
  EXPECT_TRUE(program.Ended(3000));
}

}  // namespace
