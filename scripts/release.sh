#!/usr/bin/env bash
# Makes a release of the checked-out commit: installs what is missing (as root, from Debian's
# archive), builds the program afresh for x64 and x86 in build-release-x64/ and build-release-x86/,
# and writes into dist/
#   ZarnCleaner-<version>-x64-setup.exe, ZarnCleaner-<version>-x64-portable.zip,
#   ZarnCleaner-<version>-x86-portable.zip and SHA256SUMS.
# The version is the project's VERSION in CMakeLists.txt. Files carry the commit's time, so two
# runs on the same commit give the same bytes.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

if ! git diff --quiet HEAD --; then
  echo "release.sh: the work tree has uncommitted changes; a release is made from a commit" >&2
  exit 1
fi

# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"
apt_need build sqlite pictures installer

# The libraries are built first: the notices must still match the copyright files of the
# toolchain and of the sources the libraries are built from (SQLite's are read from its tree).
for arch in x64 x86; do
  "$repo/scripts/build-libjpeg.sh" "$arch"
  "$repo/scripts/build-sqlite.sh" "$arch"
  "$repo/scripts/build-snappy.sh" "$arch"
  "$repo/scripts/build-leveldb.sh" "$arch"
  "$repo/scripts/build-libpsl.sh" "$arch"
done
python3 "$repo/scripts/make-notices.py" --check

export SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
# A build from nothing: no earlier build folder, no compiler cache.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
rm -rf "$repo/dist"
for arch in x64 x86; do
  build="$repo/build-release-$arch"
  rm -rf "$build"
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(arch_toolchain "$arch")" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" -j2 --target ZarnCleaner
done

# The installer for 64-bit Windows; the 32-bit build as a portable zip, for 32-bit Windows and XP.
bash "$repo/packaging/package.sh" "$repo/build-release-x64" "$repo/dist"
bash "$repo/packaging/package.sh" "$repo/build-release-x86" "$repo/dist" --zip-only
(cd "$repo/dist" && sha256sum ZarnCleaner-*-setup.exe ZarnCleaner-*-portable.zip >SHA256SUMS)
cat "$repo/dist/SHA256SUMS"
