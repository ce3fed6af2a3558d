#pragma once
// Functions of kernel32 that not every Windows the program runs on has (XP lacks the ones of
// Vista and later): looked up when first asked for, null where missing.
#include <windows.h>

namespace zarn {

// GetProcAddress gives one fixed pointer type; going through a pointer to a function of no
// arguments converts it to the real one without a cast between unrelated function types.
template <typename Function>
Function Kernel32Function(const char* name) {
  using AnyProc = void (*)();
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  AnyProc proc = kernel ? reinterpret_cast<AnyProc>(GetProcAddress(kernel, name)) : nullptr;
  return reinterpret_cast<Function>(proc);
}

}  // namespace zarn
