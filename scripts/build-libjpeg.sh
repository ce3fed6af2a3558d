#!/bin/bash
# Cross-builds a static Windows libjpeg from Debian's libjpeg-turbo source package into
# .deps/ARCH/libjpeg/{include,lib}, for ARCH x64 (the default) or x86. Run as root on Debian 12;
# later runs reuse the result.
#   scripts/build-libjpeg.sh [x64|x86]
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
arch="${1:-x64}"
arch_toolchain "$arch" >/dev/null || exit 1
deps="$repo/.deps"
prefix="$deps/$arch/libjpeg"
srcroot="$deps/src"
builddir="$deps/build-libjpeg-$arch"
toolchain="$(arch_toolchain "$arch")"

if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  echo "libjpeg: already built in $prefix"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "build-libjpeg.sh: must run as root (it installs packages and enables source entries)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# Reads a rewritten sources file on standard input, with the number of changes the awk
# program wrote to its standard error in "$1.count"; replaces "$1" only when something
# changed. Prints the number of changes.
apply_rewrite() {
  local file="$1" count
  cat >"$file.new"
  count="$(cat "$file.count")"
  rm -f "$file.count"
  if [ "$count" -gt 0 ]; then
    cat "$file.new" >"$file"
  fi
  rm -f "$file.new"
  echo "$count"
}

# Adds deb-src to every deb822 stanza whose Types line lacks it. Prints the number of changes.
enable_deb822_sources() {
  local file="$1"
  awk '
    /^[Tt]ypes:/ {
      if ($0 !~ /deb-src/) { sub(/[[:space:]]*$/, ""); $0 = $0 " deb-src"; changed++ }
    }
    { print }
    END { print changed + 0 > "/dev/stderr" }
  ' "$file" 2>"$file.count" | apply_rewrite "$file"
}

# Adds a deb-src twin after every one-line "deb" entry that has none (entries compared without
# their [options]). Prints the number of changes.
enable_list_sources() {
  local file="$1"
  awk '
    function key(line) {
      sub(/^[[:space:]]*deb(-src)?[[:space:]]+/, "", line)
      sub(/^\[[^]]*\][[:space:]]*/, "", line)
      gsub(/[[:space:]]+/, " ", line)
      sub(/ $/, "", line)
      return line
    }
    { lines[NR] = $0 }
    /^[[:space:]]*deb-src[[:space:]]/ { have[key($0)] = 1 }
    END {
      changed = 0
      for (i = 1; i <= NR; i++) {
        print lines[i]
        if (lines[i] ~ /^[[:space:]]*deb[[:space:]]/) {
          k = key(lines[i])
          if (!(k in have)) {
            s = lines[i]; sub(/^[[:space:]]*deb/, "deb-src", s)
            print s; have[k] = 1; changed++
          }
        }
      }
      print changed > "/dev/stderr"
    }
  ' "$file" 2>"$file.count" | apply_rewrite "$file"
}

added=0
shopt -s nullglob
for f in /etc/apt/sources.list.d/*.sources; do
  n="$(enable_deb822_sources "$f")"
  added=$((added + n))
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  n="$(enable_list_sources "$f")"
  added=$((added + n))
done
shopt -u nullglob

need_pkgs=()
for p in dpkg-dev cmake make; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$p")
done
for p in "$(arch_compiler_package "$arch")"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$p")
done

# Source entries that were already there may still lack downloaded indexes (fresh images).
if [ "$added" -gt 0 ] || ! apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:' \
   || [ "${#need_pkgs[@]}" -gt 0 ]; then
  echo "libjpeg: apt-get update"
  apt-get update -qq
fi
if [ "${#need_pkgs[@]}" -gt 0 ]; then
  echo "libjpeg: installing ${need_pkgs[*]}"
  apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null
fi

mkdir -p "$srcroot"
src="$(find "$srcroot" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n 1)"
if [ -z "$src" ] || [ ! -f "$src/CMakeLists.txt" ]; then
  echo "libjpeg: fetching the libjpeg-turbo source package"
  # apt drops privileges to _apt for downloads; the folder must be reachable for it.
  chmod 0755 "$deps" "$srcroot"
  (cd "$srcroot" && apt-get source -qq libjpeg-turbo 2>&1 >/dev/null | grep -v 'unsandboxed as root' >&2 || true)
  src="$(find "$srcroot" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n 1)"
fi
if [ -z "$src" ] || [ ! -f "$src/CMakeLists.txt" ]; then
  echo "build-libjpeg.sh: libjpeg-turbo sources not found under $srcroot" >&2
  exit 1
fi

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
