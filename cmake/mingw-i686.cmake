# Cross-compiles for 32-bit Windows (x86); the tests run under Debian's 32-bit Wine loader.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZARN_MINGW_TRIPLET i686-w64-mingw32)
set(ZARN_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
