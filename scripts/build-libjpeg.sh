#!/bin/bash
# Cross-builds a static Windows libjpeg from Debian's libjpeg-turbo source package into
# .deps/ARCH/libjpeg/{include,lib}, for ARCH x64 (the default) or x86. Run as root on Debian 12;
# later runs reuse the result.
#   scripts/build-libjpeg.sh [x64|x86]
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/deb-source.sh
. "$repo/scripts/deb-source.sh"
arch="${1:-x64}"
arch_toolchain "$arch" >/dev/null || exit 1
dep_layout libjpeg "$arch"
toolchain="$(arch_toolchain "$arch")"
dep_reuse libjpeg lib/libjpeg.a include/jpeglib.h

deb_source_require_root
deb_source_prepare libjpeg libjpeg-turbo build
deb_source_fetch libjpeg "$srcroot" libjpeg-turbo CMakeLists.txt
src="$(deb_source_dir "$srcroot" libjpeg-turbo CMakeLists.txt)"

# SIMD stays off: the banners are small, and the plain C decoder avoids a NASM dependency.
echo "libjpeg: building $(basename "$src") for $arch"
rm -rf "$builddir"
cmake -S "$src" -B "$builddir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
  -DWITH_JAVA=OFF -DREQUIRE_SIMD=OFF >"$builddir.log" 2>&1 \
  || { cat "$builddir.log" >&2; exit 1; }
cmake --build "$builddir" -j2 --target jpeg-static >>"$builddir.log" 2>&1 \
  || { tail -n 50 "$builddir.log" >&2; exit 1; }

mkdir -p "$prefix/include" "$prefix/lib"
cp "$builddir/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$builddir/jconfig.h" "$prefix/include/"
echo "libjpeg: installed into $prefix"
