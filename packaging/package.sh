#!/usr/bin/env bash
# Packs a built ZarnCleaner.exe into the installer, the portable zip and their SHA256SUMS.
#   packaging/package.sh BUILD_DIR OUT_DIR
# BUILD_DIR holds ZarnCleaner.exe and generated/version.txt (CMake writes it from the project's
# VERSION). Every file gets the time SOURCE_DATE_EPOCH (default: the last commit's), and the zip
# lists its entries sorted, so the same program gives the same bytes.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

version="$(cat "$build/generated/version.txt")"
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH="$epoch" TZ=UTC LC_ALL=C
name="ZarnCleaner-$version"

work="$out/.stage"
rm -rf "$work"
top="$work/zip/$name"
mkdir -p "$top" "$work/nsis"

# Text files in Windows line ends, so that every editor shows them as written.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
cp "$build/ZarnCleaner.exe" "$top/ZarnCleaner.exe"
crlf "$repo/LICENSE" "$top/LICENSE.txt"
crlf "$repo/THIRD-PARTY-NOTICES.txt" "$top/THIRD-PARTY-NOTICES.txt"
sed "s/@VERSION@/$version/g" "$repo/packaging/README-portable.txt" >"$work/readme"
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

makensis -V2 -DVERSION="$version" -DSTAGE="$work/nsis" -DOUTFILE="$setup" "$repo/packaging/ZarnCleaner.nsi"
touch -d "@$epoch" "$setup"

(cd "$out" && sha256sum "$(basename "$setup")" "$(basename "$zip")" >SHA256SUMS)
rm -rf "$work"
echo "package: $setup"
echo "package: $zip"
