#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (as root), cross-builds libjpeg and SQLite once
# per architecture, and builds the program and its tests:
#   scripts/setup.sh [x64] [x86]     x64 into build/ (the default), x86 into build-x86/
# Building needs no 32-bit code to run; only running the x86 build does.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(x64)
for arch in "${archs[@]}"; do arch_toolchain "$arch" >/dev/null; done

need=()
for arch in x64 x86; do
  command -v "$(arch_compiler "$arch")" >/dev/null || need+=("$(arch_compiler_package "$arch")")
done
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
[ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
# The 32-bit loader, for machines that run 32-bit code; elsewhere it is installed but unused.
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
[ -x /usr/bin/convert ] || need+=(imagemagick)
dpkg -s fonts-dejavu-core >/dev/null 2>&1 || need+=(fonts-dejavu-core)
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] || need+=(googletest)
command -v dpkg-source >/dev/null || need+=(dpkg-dev)
command -v tclsh >/dev/null || need+=(tcl)  # SQLite's amalgamation is made by a Tcl script
command -v python3 >/dev/null || need+=(python3)
dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)  # Wine's Tahoma, the dialog font
if [ ${#need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  apt_install "${need[@]}"
fi

for arch in "${archs[@]}"; do
  "$repo/scripts/build-libjpeg.sh" "$arch"
  "$repo/scripts/build-sqlite.sh" "$arch"
  "$repo/scripts/build-snappy.sh" "$arch"
  "$repo/scripts/build-leveldb.sh" "$arch"
  "$repo/scripts/build-libpsl.sh" "$arch"
  build="$(arch_build_dir "$repo" "$arch")"
  toolchain="$(arch_toolchain "$arch")"
  # CMake keeps the compilers of a folder's first configure: a folder made for the other
  # architecture (build/ was once the x86 build) starts afresh.
  if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$toolchain" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2
done
