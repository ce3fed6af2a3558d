#include "traces/small_file.h"

#include <windows.h>

#include "traces/handles.h"

namespace zarn {

bool ReadSmallFile(const std::string& path, std::string& bytes) {
  unique_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) || info.nFileSizeHigh ||
      info.nFileSizeLow > (1u << 20))
    return false;
  bytes.resize(info.nFileSizeLow);
  DWORD got = 0;
  return bytes.empty() ||
         (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

bool ReplaceSmallFile(const std::string& path, const std::string& bytes) {
  const std::string fresh = path + ".zarn-new";
  // A file left by a stop goes first; a new one is made only where nothing is, not even a link.
  DeleteFileA(fresh.c_str());
  bool written = false;
  {
    unique_file file(CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file) return false;
    DWORD put = 0;
    written = (bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                                 put == bytes.size())) &&
              FlushFileBuffers(file.get());
  }
  if (written && MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(fresh.c_str());
  return false;
}

}  // namespace zarn
