# The two builds, x64 and x86, and the Wine that runs each. Sourced by the other scripts.
#
# Debian's /usr/bin/wine and wineboot take the 32-bit loader whenever wine32 is installed, also
# on machines whose kernel runs no 32-bit code, so every script calls a loader by its full path
# through small wrappers named as Wine's own commands.

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

# Wine writes Windows file names to the Unix side in the locale's character set: in the C locale
# of a minimal Debian (no LANG at all) every letter outside ASCII is lost, and a file named so
# cannot be made. Debian's C library has C.UTF-8 built in, with no locales package.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then export LC_ALL=C.UTF-8; fi

arch_toolchain() {  # arch_toolchain ARCH: the CMake toolchain file of a build
  local repo_dir
  repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  case "$1" in
    x64) echo "$repo_dir/cmake/mingw-x86_64.cmake" ;;
    x86) echo "$repo_dir/cmake/mingw-i686.cmake" ;;
    *) echo "unknown architecture '$1' (x64 or x86)" >&2; return 1 ;;
  esac
}

arch_compiler_package() {  # arch_compiler_package ARCH: Debian's cross compiler for it
  case "$1" in
    x64) echo g++-mingw-w64-x86-64-posix ;;
    x86) echo g++-mingw-w64-i686-posix ;;
  esac
}

arch_compiler() {  # arch_compiler ARCH: the C++ cross compiler's command
  case "$1" in
    x64) echo x86_64-w64-mingw32-g++-posix ;;
    x86) echo i686-w64-mingw32-g++-posix ;;
  esac
}

arch_build_dir() {  # arch_build_dir REPO ARCH: where a build of that architecture lives
  case "$2" in
    x64) echo "$1/build" ;;
    x86) echo "$1/build-x86" ;;
  esac
}

# Whether this machine runs 32-bit code, found out by starting Debian's 32-bit Wine loader (on a
# kernel without 32-bit emulation it fails with "Exec format error"). Asked once per run, after
# the install (before it there is no loader to try): decide_32bit keeps the answer in
# ZARN_RUNS_32BIT, and its reason in ZARN_NO_32BIT, for the run and every script it starts.
# ZARN_X64_ONLY=1 takes the 64-bit-only path on a machine that could run both.
decide_32bit() {
  [ -z "${ZARN_RUNS_32BIT:-}" ] || return 0
  ZARN_RUNS_32BIT=no
  if [ -n "${ZARN_X64_ONLY:-}" ]; then
    ZARN_NO_32BIT="forced by ZARN_X64_ONLY"
  elif [ ! -x "$wine32_loader" ]; then
    ZARN_NO_32BIT="wine32 is not installed"
  elif "$wine32_loader" --version >/dev/null 2>&1; then
    ZARN_RUNS_32BIT=yes ZARN_NO_32BIT=""
  else
    local error
    error="$("$wine32_loader" --version 2>&1 | tail -n 1 || true)"
    ZARN_NO_32BIT="this machine runs no 32-bit code ($wine32_loader: ${error##*: })"
  fi
  export ZARN_RUNS_32BIT ZARN_NO_32BIT
}

runs_32bit() {
  decide_32bit
  [ "$ZARN_RUNS_32BIT" = yes ]
}

# Why runs_32bit said no, for the lines that name what a run left out.
why_no_32bit() {
  decide_32bit
  echo "$ZARN_NO_32BIT"
}

# make_wine_bin DIR KIND: writes wine, wineboot, wineserver and winepath into DIR for
#   x64    a 64-bit prefix and the 64-bit loader;
#   x86    a 32-bit prefix and the 32-bit loader;
#   wow64  a 64-bit prefix in which `wine` starts programs with the 32-bit loader (as a 32-bit
#          program meets 64-bit Windows); the prefix itself is made and served by the 64-bit side.
# Put DIR first on PATH and set WINEARCH as `wine_arch KIND` prints.
make_wine_bin() {
  local dir="$1" kind="$2" run tools server
  case "$kind" in
    x64) run="$wine64_loader" tools="$wine64_loader" server=/usr/lib/wine/wineserver64 ;;
    x86) run="$wine32_loader" tools="$wine32_loader" server=/usr/lib/wine/wineserver32 ;;
    wow64) run="$wine32_loader" tools="$wine64_loader" server=/usr/lib/wine/wineserver64 ;;
    *) echo "unknown Wine kind '$kind'" >&2; return 1 ;;
  esac
  mkdir -p "$dir"
  printf '#!/bin/sh\nexec %s "$@"\n' "$run" >"$dir/wine"
  printf '#!/bin/sh\nexec %s wineboot "$@"\n' "$tools" >"$dir/wineboot"
  printf '#!/bin/sh\nexec %s winepath "$@"\n' "$tools" >"$dir/winepath"
  printf '#!/bin/sh\nexec %s "$@"\n' "$server" >"$dir/wineserver"
  chmod 0755 "$dir" "$dir/wine" "$dir/wineboot" "$dir/winepath" "$dir/wineserver"
}

wine_arch() {  # wine_arch KIND: the WINEARCH of its prefix
  case "$1" in
    x86) echo win32 ;;
    *) echo win64 ;;
  esac
}

# The architecture the demo, the screenshots and the benchmark run: ZARN_ARCH, x64 by default.
# x86 only where this machine runs 32-bit code (asked after the install). Prints it, or fails
# with the reason.
chosen_arch() {
  local arch="${ZARN_ARCH:-x64}"
  arch_toolchain "$arch" >/dev/null || return 1
  if [ "$arch" = x86 ] && ! runs_32bit; then
    echo "ZARN_ARCH=x86: the x86 build cannot run here: $(why_no_32bit)" >&2
    return 1
  fi
  echo "$arch"
}


# demo_wine REPO ARCH: the environment of the demo prefix of a build (the demo and the
# screenshots share it): WINEPREFIX, WINEARCH and that build's Wine first on PATH.
demo_wine() {
  local suffix=""
  [ "$2" = x64 ] || suffix="-$2"
  make_wine_bin "$1/build/wine-$2" "$2"
  export PATH="$1/build/wine-$2:$PATH" WINEARCH="$(wine_arch "$2")"
  export WINEPREFIX="$1/build/wineprefix-demo$suffix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
