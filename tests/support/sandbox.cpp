#include "tests/support/sandbox.h"

#include <atomic>
#include <cstdlib>

namespace zarn::test {
namespace {

std::atomic<int> g_counter{0};

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(child);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(child.c_str());  // a link: remove the link, never what it points to
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

HKEY OpenForWrite(Root root, const std::string& key) {
  HKEY k = nullptr;
  RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  return k;
}

}  // namespace

Sandbox::Sandbox() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  int n = g_counter++;
  std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
  root_ = std::string(temp) + "zarn-test-" + tag;
  MakeDir(root_);

  scratchKey_ = "Software\\ZarnCleanerTests\\" + tag;
  RegCreateKeyExA(HKEY_CURRENT_USER, (scratchKey_ + "\\cu").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &scratchCu_, nullptr);
  RegCreateKeyExA(HKEY_CURRENT_USER, (scratchKey_ + "\\lm").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &scratchLm_, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, scratchCu_);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratchLm_);

  appData = root_ + "\\Application Data";
  localSettings = root_ + "\\Local Settings";
  localAppData = localSettings + "\\Application Data";
  recent = root_ + "\\Recent";
  cookies = root_ + "\\Cookies";
  cache = localSettings + "\\Temporary Internet Files";
  programFiles = root_ + "\\Program Files";
  systemRoot = root_ + "\\WINDOWS";
  for (const std::string* dir :
       {&appData, &localSettings, &localAppData, &recent, &cookies, &cache, &programFiles, &systemRoot})
    MakeDir(*dir);

  const std::string shell = kShellFolders;
  SetString(Root::HKCU, shell, "AppData", appData);
  SetString(Root::HKCU, shell, "Local AppData", localAppData);
  SetString(Root::HKCU, shell, "Local Settings", localSettings);
  SetString(Root::HKCU, shell, "Recent", recent);
  SetString(Root::HKCU, shell, "Cookies", cookies);
  SetString(Root::HKCU, shell, "Cache", cache);
  SetString(Root::HKLM, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", programFiles);
  SetString(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", systemRoot);
}

Sandbox::~Sandbox() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegCloseKey(scratchCu_);
  RegCloseKey(scratchLm_);
  RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, scratchKey_.c_str());
  RemoveTree(root_);
}

void Sandbox::MakeDir(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

void Sandbox::WriteFile(const std::string& path, const std::string& content) {
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos) MakeDir(path.substr(0, slash));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

bool Sandbox::Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Sandbox::SetValue(Root root, const std::string& key, const std::string& name, DWORD type, const void* data,
                       DWORD size) {
  HKEY k = OpenForWrite(root, key);
  ASSERT_NE(k, nullptr) << key;
  RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(k);
}

void Sandbox::SetString(Root root, const std::string& key, const std::string& name, const std::string& value) {
  SetValue(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void Sandbox::CreateKey(Root root, const std::string& key) { RegCloseKey(OpenForWrite(root, key)); }

bool Sandbox::ValueExists(Root root, const std::string& key, const std::string& name) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  bool exists = RegQueryValueExA(k, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(k);
  return exists;
}

bool Sandbox::KeyExists(Root root, const std::string& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

void Sandbox::DeleteValue(Root root, const std::string& key, const std::string& name) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name.c_str());
  RegCloseKey(k);
}

std::vector<std::string> EnumeratedValues(const std::string& key, Root root) {
  std::vector<std::string> names;
  HKEY k = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
  std::vector<char> name(16384);  // the longest value name the registry allows, and its zero
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    if (RegEnumValueA(k, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), len);
  }
  RegCloseKey(k);
  return names;
}

HeldOpen::HeldOpen(const std::string& path, DWORD access)
    : handle(CreateFileA(path.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

void HeldOpen::Release() {
  if (Held()) CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool InThrowawayWinePrefix() {
  const char* flag = std::getenv("ZARN_THROWAWAY_PREFIX");
  return UnderWine() && flag && std::string(flag) == "1";
}

void PumpMessages(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms > 0) Sleep(1);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

MessageBoxWatcher::MessageBoxWatcher() : uiThread_(GetCurrentThreadId()) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, 5000);
  CloseHandle(thread_);
}

static BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM lp) {
  char cls[32] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI MessageBoxWatcher::Run(void* param) {
  auto* self = static_cast<MessageBoxWatcher*>(param);
  while (!self->stop_) {
    struct Found {
      HWND dialog = nullptr;
    } found;
    EnumThreadWindows(self->uiThread_, FindMessageBox, reinterpret_cast<LPARAM>(&found.dialog));
    if (found.dialog) {
      char text[1024] = "", title[256] = "";
      GetWindowTextA(found.dialog, title, sizeof title);
      GetDlgItemTextA(found.dialog, 0xFFFF, text, sizeof text);
      self->title_ = title;
      self->text_ = text;
      InterlockedIncrement(&self->count_);
      PostMessageA(found.dialog, WM_COMMAND, IDOK, 0);
      Sleep(50);
    }
    Sleep(10);
  }
  return 0;
}

}  // namespace zarn::test
