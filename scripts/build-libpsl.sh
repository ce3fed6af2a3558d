#!/bin/bash
# Cross-builds a static Windows libpsl from Debian's libpsl source package into
# .deps/ARCH/libpsl/{include,lib}, for ARCH x64 (the default) or x86, with the Public Suffix
# List of Debian's publicsuffix package compiled in. Run as root on Debian 12; later runs
# reuse the result.
#   scripts/build-libpsl.sh [x64|x86]
# Built without an IDNA library: the cleaner hands it hosts already in lower-case ASCII
# (the browsers store them in punycode), and never loads a list from a file at run time.
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
dep_layout libpsl "$arch"
# The list Debian's own libpsl is built with.
list=/usr/share/publicsuffix/public_suffix_list.dat

dep_reuse libpsl lib/libpsl.a include/libpsl.h

deb_source_require_root
# python3 runs the list's compiler (psl-make-dafsa); the publicsuffix package brings the list.
deb_source_prepare libpsl libpsl dpkg-dev python3 publicsuffix "$(arch_compiler_package "$arch")"
deb_source_fetch libpsl "$srcroot" libpsl src/psl-make-dafsa
src="$(deb_source_dir "$srcroot" libpsl src/psl-make-dafsa)"
version="$(cat "$src/version.txt")"
IFS=. read -r major minor patch <<<"$version"

echo "libpsl: building $(basename "$src") with the list of $(dpkg-query -W -f='publicsuffix ${Version}' publicsuffix) for $arch"
rm -rf "$builddir" "$builddir.log"
mkdir -p "$builddir/include"
# The headers its meson build writes: the version into libpsl.h; config.h with the list built
# in and no IDNA library.
sed -e "s/@LIBPSL_VERSION@/$version/" -e "s/@LIBPSL_VERSION_MAJOR@/$major/" \
  -e "s/@LIBPSL_VERSION_MINOR@/$minor/" -e "s/@LIBPSL_VERSION_PATCH@/$patch/" \
  -e "s/@LIBPSL_VERSION_NUMBER@/$(printf '0x%02x%02x%02x' "$major" "$minor" "$patch")/" \
  "$src/include/libpsl.h.in" >"$builddir/include/libpsl.h"
cat >"$builddir/include/config.h" <<EOF
#define PACKAGE_VERSION "$version"
#define ENABLE_BUILTIN 1
#define HAVE_UNISTD_H 1
#define HAVE_STDINT_H 1
#define HAVE_DIRENT_H 1
EOF
python3 "$src/src/psl-make-dafsa" --output-format=cxx+ "$list" "$builddir/include/suffixes_dafsa.h" \
  >>"$builddir.log" 2>&1 || { tail -n 20 "$builddir.log" >&2; exit 1; }
(cd "$src/src" && dep_compile "$(triplet="$(arch_compiler "$arch")"; echo "${triplet%-g++-posix}-gcc-posix")" \
  libpsl.a -O2 -DNDEBUG -DHAVE_CONFIG_H -DBUILDING_PSL -DPSL_STATIC -ffile-prefix-map="$src"=libpsl \
  -I"$builddir/include" -- psl.c lookup_string_in_fixed_set.c)

mkdir -p "$prefix/include" "$prefix/lib"
cp "$builddir/libpsl.a" "$prefix/lib/libpsl.a"
cp "$builddir/include/libpsl.h" "$prefix/include/"
echo "libpsl: installed into $prefix"
