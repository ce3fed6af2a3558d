#!/usr/bin/env bash
# Packs a built ZarnCleaner.exe into the portable zip and, unless --zip-only, the installer:
#   packaging/package.sh BUILD_DIR OUT_DIR [--zip-only]
# gives OUT_DIR/ZarnCleaner-<version>-<arch>-portable.zip and -setup.exe. BUILD_DIR holds
# ZarnCleaner.exe, generated/version.txt and generated/arch.txt (CMake writes them from the
# project's VERSION and the toolchain's architecture). Every file gets the time SOURCE_DATE_EPOCH
# (default: the last commit's), and the zip lists its entries sorted, so the same program gives
# the same bytes.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

zip_only=no
[ "${3:-}" = "--zip-only" ] && zip_only=yes
version="$(cat "$build/generated/version.txt")"
arch="$(cat "$build/generated/arch.txt")"
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH="$epoch" TZ=UTC LC_ALL=C
name="ZarnCleaner-$version-$arch"

work="$out/.stage"
rm -rf "$work"
top="$work/zip/$name"
mkdir -p "$top" "$work/nsis"

# Text files in Windows line ends, so that every editor shows them as written.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
cp "$build/ZarnCleaner.exe" "$top/ZarnCleaner.exe"
crlf "$repo/LICENSE" "$top/LICENSE.txt"
crlf "$repo/THIRD-PARTY-NOTICES.txt" "$top/THIRD-PARTY-NOTICES.txt"
case "$arch" in
  x64) bits="64-bit, for 64-bit Windows 7 to 11" ;;
  *) bits="32-bit, for 32-bit Windows and Windows XP" ;;
esac
sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" -e "s/@BITS@/$bits/g" "$repo/packaging/README-portable.txt" \
  >"$work/readme"
crlf "$work/readme" "$top/README.txt"
rm "$work/readme"
cp "$top/ZarnCleaner.exe" "$top/LICENSE.txt" "$top/THIRD-PARTY-NOTICES.txt" "$work/nsis/"
cp "$repo/res/app.ico" "$work/nsis/app.ico"
# The installer's side picture (164 by 314, as NSIS wants it) from the program's side banner:
# its gradient widened from its own left column, the banner scaled to the height in the middle.
side="$repo/res/banner_side.jpg"
convert "$side" -crop 1x337+1+0 +repage -resize '1x314!' -scale '164x314!' \
  \( "$side" -resize x314 \) -gravity center -composite BMP3:"$work/nsis/welcome.bmp"

chmod 0644 "$top"/* "$work/nsis"/*
chmod 0755 "$top" "$top/ZarnCleaner.exe"
find "$work" -exec touch -h -d "@$epoch" {} +

zip="$out/$name-portable.zip"
setup="$out/$name-setup.exe"
rm -f "$zip" "$setup"
# -X: no owner ids or extra time fields; -D: no folder entries (unzip makes them); sorted names.
(cd "$work/zip" && find "$name" -type f | sort | zip -X -D -q -9 "$zip" -@)
touch -d "@$epoch" "$zip"

if [ "$zip_only" = no ]; then
  makensis -V2 -DVERSION="$version" -DARCH="$arch" -DSTAGE="$work/nsis" -DOUTFILE="$setup" \
    "$repo/packaging/ZarnCleaner.nsi"
  touch -d "@$epoch" "$setup"
  echo "package: $setup"
fi
rm -rf "$work"
echo "package: $zip"
