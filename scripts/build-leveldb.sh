#!/bin/bash
# Cross-builds a static Windows LevelDB from Debian's leveldb source package (with Debian's
# patches) into .deps/ARCH/leveldb/{include,lib}, for ARCH x64 (the default) or x86, with
# Snappy compiled in and the in-memory environment (helpers/memenv) included. Run as root on
# Debian 12, after build-snappy.sh; later runs reuse the result.
#   scripts/build-leveldb.sh [x64|x86]
# LevelDB's own CMake looks for Snappy by linking a C program against it, which fails against
# a static C++ library: it then builds without Snappy, silently, and every table Chromium
# wrote reads as corrupt. So the sources are compiled here with HAVE_SNAPPY set.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/deb-source.sh
. "$repo/scripts/deb-source.sh"
# shellcheck source=scripts/dep-compile.sh
. "$repo/scripts/dep-compile.sh"
arch="${1:-x64}"
arch_toolchain "$arch" >/dev/null || exit 1
dep_layout snappy "$arch"
snappy="$prefix"
dep_layout leveldb "$arch"

dep_reuse leveldb lib/libleveldb.a include/leveldb/db.h include/helpers/memenv.h
if [ ! -f "$snappy/lib/libsnappy.a" ]; then
  echo "leveldb: Snappy is not built for $arch: run scripts/build-snappy.sh $arch first" >&2
  exit 1
fi

deb_source_require_root
deb_source_prepare leveldb leveldb dpkg-dev "$(arch_compiler_package "$arch")"
deb_source_fetch leveldb "$srcroot" leveldb helpers/memenv/memenv.cc
src="$(deb_source_dir "$srcroot" leveldb helpers/memenv/memenv.cc)"

# The library's sources as its CMakeLists.txt names them for Windows: every .cc of the
# leveldb target, the Windows environment in place of the POSIX one, the in-memory one
# beside it; without the C interface (db/c.cc), which a C++ program does not call.
sources=()
while IFS= read -r f; do sources+=("$f"); done < <(
  awk '/^ *target_sources\(leveldb/ { inside = 1 } inside && /^ *\)/ { inside = 0 }
       inside && match($0, /"[a-z0-9_\/]+\.cc"/) { print substr($0, RSTART + 1, RLENGTH - 2) }' \
    "$src/CMakeLists.txt" | grep -v -x -e util/env_posix.cc -e db/c.cc)
for f in util/env_windows.cc helpers/memenv/memenv.cc util/crc32c.cc table/format.cc; do
  printf '%s\n' "${sources[@]}" | grep -q -x "$f" || { echo "leveldb: $f is not among the sources" >&2; exit 1; }
done

echo "leveldb: building $(basename "$src") (${#sources[@]} sources) for $arch"
rm -rf "$builddir" "$builddir.log"
mkdir -p "$builddir/include/port"
# port_config.h as LevelDB's CMake writes it for Windows: Snappy on, none of the POSIX calls.
cat >"$builddir/include/port/port_config.h" <<'EOF'
#ifndef STORAGE_LEVELDB_PORT_PORT_CONFIG_H_
#define STORAGE_LEVELDB_PORT_PORT_CONFIG_H_
#define HAVE_FDATASYNC 0
#define HAVE_FULLFSYNC 0
#define HAVE_O_CLOEXEC 0
#define HAVE_CRC32C 0
#define HAVE_SNAPPY 1
#endif
EOF
# The flags of LevelDB's CMake for GCC: C++ without exceptions; RTTI kept, as Debian keeps it,
# so that a program may derive its own Env from LevelDB's.
(cd "$src" && dep_compile "$(arch_compiler "$arch")" libleveldb.a -std=c++17 -O2 -DNDEBUG \
  -DLEVELDB_PLATFORM_WINDOWS=1 -DLEVELDB_COMPILE_LIBRARY -D_UNICODE -DUNICODE -fno-exceptions \
  -ffile-prefix-map="$src"=leveldb -I"$builddir/include" -I. -Iinclude -I"$snappy/include" \
  -- "${sources[@]}")

mkdir -p "$prefix/include/leveldb" "$prefix/include/helpers" "$prefix/lib"
cp "$builddir/libleveldb.a" "$prefix/lib/libleveldb.a"
cp "$src"/include/leveldb/*.h "$prefix/include/leveldb/"
cp "$src/helpers/memenv/memenv.h" "$prefix/include/helpers/"
echo "leveldb: installed into $prefix"
