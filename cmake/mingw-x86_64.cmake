# Cross-compiles for 64-bit Windows (x64); the tests run under Debian's 64-bit Wine loader.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZARN_MINGW_TRIPLET x86_64-w64-mingw32)
set(ZARN_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
