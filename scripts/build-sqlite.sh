#!/bin/bash
# Cross-builds a static Windows SQLite from Debian's sqlite3 source package into
# .deps/ARCH/sqlite/{include,lib}, for ARCH x64 (the default) or x86. Run as root on Debian 12;
# later runs reuse the result.
#   scripts/build-sqlite.sh [x64|x86]
# The source package is SQLite's own tree, without the one-file amalgamation sqlite3.c that
# SQLite is meant to be compiled from: a native build makes it once, in .deps/sqlite-amalgamation,
# and both architectures compile that same file.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/deb-source.sh
. "$repo/scripts/deb-source.sh"
arch="${1:-x64}"
arch_toolchain "$arch" >/dev/null || exit 1
dep_layout sqlite "$arch"
amalgamation="$deps/sqlite-amalgamation"
# The C compiler and archiver beside the arch's C++ cross compiler.
triplet="$(arch_compiler "$arch")"
triplet="${triplet%-g++-posix}"

# What the program needs of SQLite, and what it must not carry.
options=(
  -DSQLITE_OMIT_LOAD_EXTENSION  # no way for SQL to load a DLL into the cleaner
  -DSQLITE_THREADSAFE=0         # no mutexes: never two threads in SQLite at once (one after another is fine)
  -DSQLITE_SECURE_DELETE        # deleted rows are overwritten with zeros, not left in free pages
  -DSQLITE_DQS=0                # "x" is always a name, never a string: a mistyped column fails
  -DSQLITE_TEMP_STORE=2         # temporary tables and indexes stay in memory, not in a temp file
  -DSQLITE_DEFAULT_MEMSTATUS=0  # no allocation statistics: sqlite3_malloc runs without their count
  -DSQLITE_OMIT_DEPRECATED      # none of the interfaces kept for old programs
  -DSQLITE_WIN32_GETVERSIONEX=0 # no call to the deprecated GetVersionEx: every supported Windows is NT
)

dep_reuse sqlite lib/libsqlite3.a include/sqlite3.h

deb_source_require_root
# gcc and tcl make the amalgamation: its generator is a Tcl script, helped by small C tools.
deb_source_prepare sqlite sqlite3 build sqlite

if [ ! -f "$amalgamation/sqlite3.c" ] || [ ! -f "$amalgamation/sqlite3.h" ]; then
  deb_source_fetch sqlite "$srcroot" sqlite3 tool/mksqlite3c.tcl
  src="$(deb_source_dir "$srcroot" sqlite3 tool/mksqlite3c.tcl)"
  native="$deps/build-sqlite-native"
  echo "sqlite: generating the amalgamation of $(basename "$src")"
  rm -rf "$native" "$amalgamation"
  mkdir -p "$native"
  (cd "$native" && "$src/configure" --disable-tcl --disable-readline && make sqlite3.c) >"$native.log" 2>&1 \
    || { tail -n 50 "$native.log" >&2; exit 1; }
  mkdir -p "$amalgamation"
  cp "$native/sqlite3.c" "$native/sqlite3.h" "$amalgamation/"
fi

echo "sqlite: building $(sed -n 's/^#define SQLITE_VERSION  *"\(.*\)"/\1/p' "$amalgamation/sqlite3.h") for $arch"
rm -rf "$builddir"
mkdir -p "$builddir"
"$triplet-gcc-posix" -O2 "${options[@]}" -c "$amalgamation/sqlite3.c" -o "$builddir/sqlite3.o" \
  >"$builddir.log" 2>&1 || { tail -n 50 "$builddir.log" >&2; exit 1; }
"$triplet-ar" rcsD "$builddir/libsqlite3.a" "$builddir/sqlite3.o"

mkdir -p "$prefix/include" "$prefix/lib"
cp "$builddir/libsqlite3.a" "$prefix/lib/libsqlite3.a"
cp "$amalgamation/sqlite3.h" "$prefix/include/"
echo "sqlite: installed into $prefix"
