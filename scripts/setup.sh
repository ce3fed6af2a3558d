#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (as root), cross-builds libjpeg once, and
# builds the program and its tests into build/.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v wine >/dev/null || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
[ -x /usr/bin/convert ] || need+=(imagemagick)
dpkg -s fonts-dejavu-core >/dev/null 2>&1 || need+=(fonts-dejavu-core)
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] || need+=(googletest)
command -v dpkg-source >/dev/null || need+=(dpkg-dev)
command -v python3 >/dev/null || need+=(python3)
dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)  # Wine's Tahoma, the dialog font
if [ ${#need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

"$repo/scripts/build-libjpeg.sh"

cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$repo/build" -j2
