// What the installer test cannot see from the shell, asked of Wine's own API:
//   installer_probe page1 [SECONDS]       waits for the main window of a Zarn Cleaner that the
//                                         test started, checks that it shows the first wizard
//                                         page, closes it and waits for the process to end
//   installer_probe wait-gone NAME [SECONDS]  waits until no process runs NAME (the uninstaller
//                                         runs on from a copy in the temp folder after its
//                                         starter has returned)
//   installer_probe about FILE            prints "ProductName|ProductVersion|FileVersion|icons"
//                                         from the file's version resource and icon count
// Exit code 0 when all held; otherwise it prints what failed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Text(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

struct Page1 {
  bool welcome = false;
  int listRows = -1;
};

BOOL CALLBACK VisitChild(HWND child, LPARAM param) {
  auto* page = reinterpret_cast<Page1*>(param);
  if (!IsWindowVisible(child)) return TRUE;
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (Text(child) == "Welcome to Zarn Cleaner") page->welcome = true;
  if (std::strcmp(cls, WC_LISTVIEWA) == 0 && page->listRows < 0)
    page->listRows = static_cast<int>(SendMessageA(child, LVM_GETITEMCOUNT, 0, 0));
  return TRUE;
}

bool Running(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, name) == 0;
  CloseHandle(snapshot);
  return found;
}

int WaitGone(const char* name, DWORD waitMs) {
  for (DWORD waited = 0; waited < waitMs; waited += 100) {
    if (!Running(name)) return 0;
    Sleep(100);
  }
  std::printf("FAIL: %s still runs after %lu s\n", name, waitMs / 1000);
  return 1;
}

std::string VersionText(const std::vector<char>& data, const char* name) {
  char* text = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return "";
  return std::string(text, strnlen(text, length));
}

int About(const char* file) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &handle);
  std::vector<char> data(size ? size : 1);
  if (!size || !GetFileVersionInfoA(file, 0, size, data.data())) {
    std::printf("FAIL: %s has no version resource\n", file);
    return 1;
  }
  const UINT icons = ExtractIconExA(file, -1, nullptr, nullptr, 0);
  std::printf("%s|%s|%s|%u\n", VersionText(data, "ProductName").c_str(), VersionText(data, "ProductVersion").c_str(),
              VersionText(data, "FileVersion").c_str(), icons);
  return 0;
}

int Page1Shown(DWORD waitMs) {
  HWND main = nullptr;
  for (DWORD waited = 0; waited < waitMs && !(main && IsWindowVisible(main)); waited += 100) {
    Sleep(100);
    main = FindWindowA("TMainForm", nullptr);
  }
  if (!main || !IsWindowVisible(main)) {
    std::printf("FAIL: no visible TMainForm window within %lu s\n", waitMs / 1000);
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);

  // The first page is filled in by the window's creation: give its messages a moment.
  Page1 page;
  for (int tries = 0; tries < 50 && !(page.welcome && page.listRows > 0); ++tries) {
    page = Page1{};
    EnumChildWindows(main, VisitChild, reinterpret_cast<LPARAM>(&page));
    if (!(page.welcome && page.listRows > 0)) Sleep(100);
  }
  const std::string title = Text(main);
  int failures = 0;
  if (title != "ZARN CLEANER") {
    std::printf("FAIL: main window title \"%s\"\n", title.c_str());
    ++failures;
  }
  if (!page.welcome) {
    std::printf("FAIL: page 1's welcome text is not shown\n");
    ++failures;
  }
  if (page.listRows < 3) {
    std::printf("FAIL: page 1's category list has %d rows\n", page.listRows);
    ++failures;
  }
  if (!failures) std::printf("ok: \"%s\" shows page 1 with %d categories\n", title.c_str(), page.listRows);

  PostMessageA(main, WM_CLOSE, 0, 0);
  if (process && WaitForSingleObject(process, 15000) != WAIT_OBJECT_0) {
    std::printf("FAIL: the program did not end after WM_CLOSE\n");
    TerminateProcess(process, 1);
    ++failures;
  }
  if (process) CloseHandle(process);
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "page1") return Page1Shown(argc > 2 ? std::atoi(argv[2]) * 1000 : 30000);
  if (command == "about" && argc > 2) return About(argv[2]);
  if (command == "wait-gone" && argc > 2) return WaitGone(argv[2], argc > 3 ? std::atoi(argv[3]) * 1000 : 30000);
  std::printf("usage: installer_probe page1 [SECONDS] | wait-gone NAME [SECONDS] | about FILE\n");
  return 2;
}
