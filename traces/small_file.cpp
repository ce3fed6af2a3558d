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

}  // namespace zarn
