#pragma once
// A private world for every test: the current user's and the local machine's registry
// roots are redirected to fresh scratch keys, the profile folders point into a fresh
// temporary folder, and both are removed afterwards. Tests never touch a real profile.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "traces/registry.h"

namespace zarn::test {

// Where the sandbox writes the profile folders, below HKEY_CURRENT_USER.
inline constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // The temporary folder (no trailing backslash) and the profile folders inside it, as
  // the Shell Folders values name them.
  const std::string& Dir() const { return root_; }
  std::string appData, localAppData, localSettings, recent, cookies, cache, programFiles, systemRoot;

  // Files and folders; paths are absolute. Parent folders are created as needed.
  static void MakeDir(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& content = "x");
  static bool Exists(const std::string& path);

  // Registry inside the sandbox. Keys are given without a leading backslash.
  static void SetString(Root root, const std::string& key, const std::string& name, const std::string& value);
  static void SetValue(Root root, const std::string& key, const std::string& name, DWORD type, const void* data,
                       DWORD size);
  static void CreateKey(Root root, const std::string& key);
  static bool ValueExists(Root root, const std::string& key, const std::string& name);
  static bool KeyExists(Root root, const std::string& key);
  static void DeleteValue(Root root, const std::string& key, const std::string& name);

 private:
  std::string root_;
  std::string scratchKey_;
  HKEY scratchCu_ = nullptr, scratchLm_ = nullptr;
};

// Every test of a fixture derived from this runs in its own sandbox.
class SandboxTest : public ::testing::Test {
 protected:
  Sandbox sandbox;
};

// The value names of a key in the registry's own enumeration order; empty if the key
// cannot be opened for reading.
std::vector<std::string> EnumeratedValues(const std::string& key, Root root = Root::HKCU);

// Holds a file open with no sharing, as a running program does.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path, DWORD access = GENERIC_READ);
  ~HeldOpen() { Release(); }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool Held() const { return handle != INVALID_HANDLE_VALUE; }
  void Release();
  HANDLE handle;
};

// Whether the tests run under Wine, not Windows.
bool UnderWine();
// Machine-wide state (recycle bin, clipboard, URL cache) is only touched under Wine in
// the throwaway prefix that the test command makes.
bool InThrowawayWinePrefix();
#define ZARN_REQUIRE_THROWAWAY_PREFIX()                                                      \
  do {                                                                                       \
    if (!::zarn::test::InThrowawayWinePrefix())                                              \
      GTEST_SKIP() << "touches machine-wide state: runs only under Wine in the test prefix"; \
  } while (0)

// Handles pending window messages for about `ms` milliseconds.
void PumpMessages(int ms = 0);

// Answers the next message box that this thread shows (with OK) and records its texts.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  int Count() const { return count_; }
  const std::string& Text() const { return text_; }
  const std::string& Title() const { return title_; }

 private:
  static DWORD WINAPI Run(void* self);
  DWORD uiThread_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  volatile LONG count_ = 0;
  std::string text_, title_;
};

}  // namespace zarn::test
