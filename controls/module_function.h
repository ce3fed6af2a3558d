#pragma once
// A function that not every Windows version has, looked up at run time.
#include <windows.h>

namespace zarn {

// The function `name` of `module` as the pointer type Function, or null where the module or
// the function is missing. GetProcAddress gives one fixed pointer type; going through a
// pointer to a function without parameters is the conversion GCC accepts without
// -Wcast-function-type, in this one place.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
  using AnyProc = void (*)();
  AnyProc proc = module ? reinterpret_cast<AnyProc>(GetProcAddress(module, name)) : nullptr;
  return reinterpret_cast<Function>(proc);
}

}  // namespace zarn
