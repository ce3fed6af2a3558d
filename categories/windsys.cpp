#include "categories/windsys.h"

#include <vector>

#include "controls/module_function.h"
#include "res/resource.h"
#include "traces/handles.h"
#include "traces/probes.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "System",
    .className = "TWindSysForm",
    .title = "Zarn Cleaner - System",
    .scanButtonName = "windsysbtn",
    .family = StatusFamily::A,
    .firstColumn = "File Names",
    .height = 435,
    .iconId = IDI_CAT_SYSTEM,
};
const CleanRules kClean = {.clearAttributes = true};

const char kRecycleBin[] = "Recycle Bin";
const char kClipboard[] = "Clipboard";

// The staging list of each phase.
constexpr int kTempStaging = 2;
constexpr int kDumpStaging = 1;
constexpr int kLogStaging = 1;

const FileLocation kTemporaryFiles[] = {
    {BaseFolder::SystemRoot, "\\Temp\\", "*.tmp", 5, Listing::Names, Dots::Keep},
    {BaseFolder::LocalSettings, "\\Temp\\", "*.tmp", 1, Listing::Names, Dots::Keep},
};

// On a profile without a "Local Settings" value (Vista and later), the user's own
// temporary folder in place of the second row.
const FileLocation kUserTemporaryFiles[] = {
    {BaseFolder::UserTemp, "\\", "*.tmp", 1, Listing::Names, Dots::Keep},
};

const FileLocation kMemoryDumps[] = {
    {BaseFolder::SystemRoot, "\\", "memory.dmp", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\MiniDump\\", "*.dmp", 3, Listing::Paths, Dots::Skip},
};

// The extra rules of the log locations compare byte for byte, case included, on the whole
// path as the file system reports it.
bool NotWindowsUpdateLog(const std::string& path, const std::string& windows) {
  return path != windows + "\\WindowsUpdate.log";
}

bool ContainsLog(const std::string& path, const std::string&) { return path.find("log") != std::string::npos; }

bool NotPasswordLog(const std::string& path, const std::string& windows) {
  return path != windows + "\\Debug\\PASSWD.LOG";
}

const FileLocation kLogFiles[] = {
    {BaseFolder::SystemRoot, "\\system32\\wbem\\Logs\\", "*.log", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\system32\\wbem\\Logs\\", "*.lo_", 3, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\", "*.log", 4, Listing::Paths, Dots::Skip, NotWindowsUpdateLog},
    {BaseFolder::SystemRoot, "\\", "*log.txt", 5, Listing::Paths, Dots::Skip, ContainsLog},
    {BaseFolder::SystemRoot, "\\Debug\\", "*.log", 6, Listing::Paths, Dots::Skip, NotPasswordLog},
    {BaseFolder::SystemRoot, "\\Debug\\UserMode\\", "*.log", 7, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\Debug\\UserMode\\", "*.bak", 8, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\security\\logs\\", "*.log", 10, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\security\\logs\\", "*.old", 11, Listing::Paths, Dots::Skip},
};

// Under WOW64 "<Windows>\\system32" is redirected to SysWOW64, where the WMI logs are not.
// The real folder is listed through "Sysnative", and the listed path keeps that name, so
// the cleaner deletes the very file that was shown and never its SysWOW64 namesake.
const FileLocation kNativeWbemLogs[] = {
    {BaseFolder::SystemRoot, "\\Sysnative\\wbem\\Logs\\", "*.log", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::SystemRoot, "\\Sysnative\\wbem\\Logs\\", "*.lo_", 3, Listing::Paths, Dots::Skip},
};
constexpr size_t kWbemRows = 2;

// Windows Vista and later keep the dumps of crashed programs, and the error reports they
// send, in the local application-data folder. A report is a folder of files.
const FileLocation kCrashDumps[] = {
    {BaseFolder::LocalAppData, "\\CrashDumps\\", "*.dmp", 2, Listing::Paths, Dots::Skip},
};
const FileLocation kErrorReports[] = {
    {BaseFolder::LocalAppData, "\\Microsoft\\Windows\\WER\\ReportArchive\\", "*.*", 2, Listing::Paths, Dots::Skip,
     nullptr, Depth::Tree},
    {BaseFolder::LocalAppData, "\\Microsoft\\Windows\\WER\\ReportQueue\\", "*.*", 3, Listing::Paths, Dots::Skip,
     nullptr, Depth::Tree},
};
constexpr int kReportStaging = 1;

void ClearLists(TCategoryForm& form, int first, int last) {
  for (int i = first; i <= last; ++i) form.ListBox[i].Clear();
}

// SHEmptyRecycleBinA(owner, root, flags).
using EmptyRecycleBinProc = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);

constexpr DWORD kEmptyQuietly = SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND;  // 7

}  // namespace

DWORD ReadFileVersion(const std::string& fileName) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> buffer(size);
  if (!GetFileVersionInfoA(fileName.c_str(), 0, size, buffer.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(buffer.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return fixed->dwFileVersionMS;
}

bool ShellCanQueryRecycleBin(DWORD versionMS) { return versionMS >= MAKELONG(72, 4); }

std::optional<TraceItem> RecycleBinSummary(HRESULT queryResult, const SHQUERYRBINFO& info) {
  if (FAILED(queryResult) || info.i64NumItems <= 0) return std::nullopt;
  TraceItem item;
  item.name = std::to_string(info.i64NumItems) + " files in Recycle Bin";
  item.location = kRecycleBin;
  item.type = "Delete File";
  item.size = FormatSize(info.i64Size);
  return item;
}

void EmptyRecycleBin(const char* library) {
  unique_hmodule shell(LoadLibraryA(library));
  if (!shell) {
    HWND owner = ApplicationWindow();
    const std::string title = owner ? WindowText(owner) : std::string();
    MessageBoxA(owner, "loading Shell32.dll failed", title.empty() ? nullptr : title.c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  const auto empty = ModuleFunction<EmptyRecycleBinProc>(shell.get(), "SHEmptyRecycleBinA");
  if (empty) empty(ApplicationWindow(), nullptr, kEmptyQuietly);
}

TWindSysForm::TWindSysForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TWindSysForm::Tables() {
  return {.files = {{kTemporaryFiles, kTempStaging},
                    {kMemoryDumps, kDumpStaging},
                    {kLogFiles, kLogStaging},
                    {kCrashDumps, kReportStaging},
                    {kErrorReports, kReportStaging}}};
}

void TWindSysForm::Probe() {
  ProbeRecycleBin();
  ProbeTemporaryFiles();
  // A clipboard that another program holds open is passed over; the scan goes on.
  AddClipboardTraces(*this);
  ProbeMemoryDumps();
  ProbeLogFiles();
  ProbeErrorReports();
}

void TWindSysForm::ProbeRecycleBin() {
  if (!ShellCanQueryRecycleBin(ReadFileVersion("shell32.dll"))) return;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  HRESULT hr = SHQueryRecycleBinA(nullptr, &info);
  if (auto summary = RecycleBinSummary(hr, info)) AddTrace(std::move(*summary));
}

void TWindSysForm::ProbeTemporaryFiles() {
  FolderSnapshot folders;
  ClearLists(*this, 1, 5);
  if (HasLocalSettingsValue()) {
    StageFiles(*this, kTemporaryFiles, ListBox[kTempStaging], folders);
  } else {
    StageFiles(*this, std::span(kTemporaryFiles).first(1), ListBox[kTempStaging], folders);
    // Never the Windows folder's temp a second time (the system account's TEMP is it).
    const std::string& windows = folders.Get(BaseFolder::SystemRoot);
    if (windows.empty() || !SameFolder(folders.Get(BaseFolder::UserTemp), windows + "\\Temp"))
      StageFiles(*this, kUserTemporaryFiles, ListBox[kTempStaging], folders);
  }
  AddStagedFiles(*this, ListBox[kTempStaging], FileFilter::ExistingUnlocked, "All items listed in Temporary Folder");
}

void TWindSysForm::ProbeMemoryDumps() {
  FolderSnapshot folders;
  ClearLists(*this, 1, 3);
  StageFiles(*this, kMemoryDumps, ListBox[kDumpStaging], folders);
  AddStagedFiles(*this, ListBox[kDumpStaging], FileFilter::None, "Memory Dump");
}

void TWindSysForm::ProbeLogFiles() {
  FolderSnapshot folders;
  ClearLists(*this, 1, 11);
  if (RunsUnderWow64() && IsRunningWindowsFolder(folders.Get(BaseFolder::SystemRoot))) {
    StageFiles(*this, kNativeWbemLogs, ListBox[kLogStaging], folders);
    StageFiles(*this, std::span(kLogFiles).subspan(kWbemRows), ListBox[kLogStaging], folders);
  } else {
    StageFiles(*this, kLogFiles, ListBox[kLogStaging], folders);
  }
  AddStagedFiles(*this, ListBox[kLogStaging], FileFilter::Unlocked, "Log File");
}

void TWindSysForm::ProbeErrorReports() {
  FolderSnapshot folders;
  ClearLists(*this, 1, 3);
  StageFiles(*this, kCrashDumps, ListBox[kReportStaging], folders);
  AddStagedFiles(*this, ListBox[kReportStaging], FileFilter::None, "Memory Dump");
  ListBox[kReportStaging].Clear();
  StageFiles(*this, kErrorReports, ListBox[kReportStaging], folders);
  // Only files: the emptied report folders may stay. A report being written is locked.
  AddStagedFiles(*this, ListBox[kReportStaging], FileFilter::ExistingUnlocked, "Error Report");
}

bool TWindSysForm::CleanOwnItem(const TraceItem& item) {
  if (item.location == kRecycleBin) {
    EmptyRecycleBin();
    return true;
  }
  if (item.location == kClipboard) {
    EmptyClipboardNow(Handle());
    return true;
  }
  return false;
}

std::span<const FileLocation> WindsysTemporaryFiles() { return kTemporaryFiles; }
std::span<const FileLocation> WindsysMemoryDumps() { return kMemoryDumps; }
std::span<const FileLocation> WindsysLogFiles() { return kLogFiles; }
std::span<const FileLocation> WindsysCrashDumps() { return kCrashDumps; }
std::span<const FileLocation> WindsysErrorReports() { return kErrorReports; }

}  // namespace zarn
