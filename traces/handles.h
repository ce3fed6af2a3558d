#pragma once
// Owners for the kernel and registry handles the probes use; each releases on every path.
#include <windows.h>

#include "controls/unique_handle.h"

namespace zarn {

using unique_hkey = UniqueHandle<HKEY, RegCloseKey>;
using unique_hmodule = UniqueHandle<HMODULE, FreeLibrary>;
// FindFirstFileA and CreateFileA report failure as INVALID_HANDLE_VALUE, not null.
using unique_hfind = UniqueHandle<HANDLE, FindClose, -1>;
using unique_file = UniqueHandle<HANDLE, CloseHandle, -1>;

}  // namespace zarn
