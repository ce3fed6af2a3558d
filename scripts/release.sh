#!/usr/bin/env bash
# Makes a release of the checked-out commit: installs what is missing (as root, from Debian's
# archive), builds the program afresh in build-release/, and writes into dist/
#   ZarnCleaner-<version>-setup.exe, ZarnCleaner-<version>-portable.zip and SHA256SUMS.
# The version is the project's VERSION in CMakeLists.txt. Files carry the commit's time, so two
# runs on the same commit give the same bytes.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

if ! git diff --quiet HEAD --; then
  echo "release.sh: the work tree has uncommitted changes; a release is made from a commit" >&2
  exit 1
fi

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v makensis >/dev/null || need+=(nsis)
command -v zip >/dev/null || need+=(zip)
[ -x /usr/bin/convert ] || need+=(imagemagick)
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
"$repo/scripts/build-libjpeg.sh"

# The notices must still match the copyright files of the toolchain and library linked in.
python3 "$repo/scripts/make-notices.py" --check

export SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
# A build from nothing: no earlier build folder, no compiler cache.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
build="$repo/build-release"
rm -rf "$build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target ZarnCleaner

bash "$repo/packaging/package.sh" "$build" "$repo/dist"
cat "$repo/dist/SHA256SUMS"
