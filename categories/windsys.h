#pragma once
#include <span>

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "traces/category_form.h"
#include "traces/scan_engine.h"

namespace zarn {

// The "System" category: recycle bin summary, temporary files, the clipboard, memory
// dumps, the Windows folder's log files, and the crash dumps and error reports of today's
// Windows.
class TWindSysForm : public TCategoryForm {
 public:
  TWindSysForm();

  // Every table the scan reads, for the checks that walk them all.
  static CategoryTables Tables();

  // The recycle bin summary and clipboard items are not files: they empty the bin or the
  // clipboard instead of deleting Location + Name.
  bool CleanOwnItem(const TraceItem& item) override;

 protected:
  void Probe() override;

 private:
  void ProbeRecycleBin();
  void ProbeTemporaryFiles();
  void ProbeMemoryDumps();
  void ProbeLogFiles();
  void ProbeErrorReports();
};

// The most significant half of a file's fixed version number (major << 16 | minor), or 0
// when the file has no readable version resource. A bare name is found on the library
// search path.
DWORD ReadFileVersion(const std::string& fileName);

// SHQueryRecycleBinA exists from shell version 4.72 on.
bool ShellCanQueryRecycleBin(DWORD versionMS);

// The summary item for a recycle bin query's outcome, or nothing when the query failed or
// the bins are empty.
std::optional<TraceItem> RecycleBinSummary(HRESULT queryResult, const SHQUERYRBINFO& info);

// Empties the recycle bins of all drives through the library's SHEmptyRecycleBinA, looked
// up at run time. Only a library that cannot be loaded is reported, by a message box.
void EmptyRecycleBin(const char* library = "Shell32.dll");

// Phase 3 of the scan: adds what the clipboard holds (text, else a picture, else one item
// per dropped file). False when the clipboard could not be opened; it is never left open.
bool AddClipboardTraces(TCategoryForm& form);

// Empties the clipboard; false when another program holds it open.
bool EmptyClipboardNow(HWND owner);

// The category's reach, for the benchmark's reference scans.
std::span<const FileLocation> WindsysTemporaryFiles();
std::span<const FileLocation> WindsysMemoryDumps();
std::span<const FileLocation> WindsysLogFiles();
std::span<const FileLocation> WindsysCrashDumps();
std::span<const FileLocation> WindsysErrorReports();

}  // namespace zarn
