# What both Windows toolchain files share: Debian's MinGW-w64 cross compilers of the POSIX
# thread model (GoogleTest needs std::mutex, which the win32 thread model lacks), named by
# ZARN_MINGW_TRIPLET, and the Wine loader ZARN_WINE_LOADER that runs the test programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZARN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZARN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZARN_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZARN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's /usr/bin/wine is a script that takes the 32-bit loader whenever wine32 is
# installed, also where the machine cannot run 32-bit code: the loader is named by its path.
find_program(WINE_EXECUTABLE ${ZARN_WINE_LOADER} PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT WINE_EXECUTABLE)
  find_program(WINE_EXECUTABLE ${ZARN_WINE_LOADER})
endif()
if(WINE_EXECUTABLE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
endif()
