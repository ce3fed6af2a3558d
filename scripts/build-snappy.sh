#!/bin/bash
# Cross-builds a static Windows Snappy from Debian's snappy source package into
# .deps/ARCH/snappy/{include,lib}, for ARCH x64 (the default) or x86. Run as root on Debian 12;
# later runs reuse the result.
#   scripts/build-snappy.sh [x64|x86]
# Chromium compresses the tables of its LevelDB stores with Snappy: a LevelDB without it
# reads none of them.
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

dep_reuse snappy lib/libsnappy.a include/snappy.h include/snappy-stubs-public.h

deb_source_require_root
deb_source_prepare snappy snappy dpkg-dev "$(arch_compiler_package "$arch")"
deb_source_fetch snappy "$srcroot" snappy snappy-stubs-public.h.in
src="$(deb_source_dir "$srcroot" snappy snappy-stubs-public.h.in)"
version="$(sed -n 's/^project(Snappy VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")"
IFS=. read -r major minor patch <<<"$version"

echo "snappy: building $(basename "$src") for $arch"
rm -rf "$builddir" "$builddir.log"
mkdir -p "$builddir/include"
# The two headers Snappy's CMake writes. config.h holds what that CMake finds for Debian's
# MinGW-w64 GCC 12 (no sys/uio.h, mmap or sysconf on Windows; no SSSE3 or BMI2 asked of the
# processor, so the library runs on every x64 and x86 machine).
sed -e "s/\${HAVE_SYS_UIO_H_01}/0/g" -e "s/\${PROJECT_VERSION_MAJOR}/$major/" \
  -e "s/\${PROJECT_VERSION_MINOR}/$minor/" -e "s/\${PROJECT_VERSION_PATCH}/$patch/" \
  "$src/snappy-stubs-public.h.in" >"$builddir/include/snappy-stubs-public.h"
cat >"$builddir/include/config.h" <<'EOF'
#ifndef THIRD_PARTY_SNAPPY_OPENSOURCE_CMAKE_CONFIG_H_
#define THIRD_PARTY_SNAPPY_OPENSOURCE_CMAKE_CONFIG_H_
#define HAVE_ATTRIBUTE_ALWAYS_INLINE 1
#define HAVE_BUILTIN_CTZ 1
#define HAVE_BUILTIN_EXPECT 1
#define HAVE_SYS_TIME_H 1
#define HAVE_UNISTD_H 1
#define HAVE_WINDOWS_H 1
#define SNAPPY_HAVE_SSSE3 0
#define SNAPPY_HAVE_BMI2 0
#endif
EOF
# The library itself; snappy-c.cc, the C interface, is not needed by a C++ program.
(cd "$src" && dep_compile "$(arch_compiler "$arch")" libsnappy.a -O2 -DNDEBUG -DHAVE_CONFIG_H \
  -fno-exceptions -ffile-prefix-map="$src"=snappy -I"$builddir/include" -I. \
  -- snappy.cc snappy-sinksource.cc snappy-stubs-internal.cc)

mkdir -p "$prefix/include" "$prefix/lib"
cp "$builddir/libsnappy.a" "$prefix/lib/libsnappy.a"
cp "$src/snappy.h" "$src/snappy-sinksource.h" "$builddir/include/snappy-stubs-public.h" "$prefix/include/"
echo "snappy: installed into $prefix"
