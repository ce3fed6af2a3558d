#!/usr/bin/env bash
# Installs what building and running the program needs on Debian 12 (as root), cross-builds
# the libraries once per architecture, and builds the program and its tests:
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

apt_need "${apt_setup_groups[@]}"

for arch in "${archs[@]}"; do
  # The libraries, each cross-built once per architecture into .deps/ARCH/.
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
