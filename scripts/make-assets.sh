#!/bin/bash
# Draws Zarn Cleaner's own pictures with ImageMagick into res/: the three JPEG banners (each
# also at double size), the program icon, the category icons and the three list
# images, every icon in the sizes that 100 to 200 % screens ask for. Everything is drawn from
# plain shapes and letters. Needs ImageMagick 6 and the DejaVu fonts (fonts-dejavu-core).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
res="$repo/res"
if [ -x /usr/bin/convert ]; then IM=/usr/bin/convert COMPARE=/usr/bin/compare; else IM=convert COMPARE=compare; fi
FONT=DejaVu-Sans-Bold
FONT_PLAIN=DejaVu-Sans

if ! "$IM" -list font 2>/dev/null | grep -q "Font: $FONT\$"; then
  echo "make-assets.sh: font $FONT missing (apt-get install fonts-dejavu-core)" >&2
  exit 1
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Brand colours: deep navy into teal, with a warm accent for the broom.
NAVY='#0b2a5b'
TEAL='#1a9a9a'
STRAW='#f2c14e'
WOOD='#8a5a2b'

# A four-pointed sparkle centred at cx,cy with radius r, as an MVG polygon.
star() {
  awk -v x="$1" -v y="$2" -v r="$3" 'BEGIN {
    q = r / 4
    printf "polygon %g,%g %g,%g %g,%g %g,%g %g,%g %g,%g %g,%g %g,%g",
      x, y - r, x + q, y - q, x + r, y, x + q, y + q, x, y + r, x - q, y + q, x - r, y, x - q, y - q
  }'
}

# A gear of n teeth around cx,cy (outer radius ro, root radius ri), as an MVG polygon.
gear() {
  awk -v x="$1" -v y="$2" -v ro="$3" -v ri="$4" -v n="$5" 'BEGIN {
    pi = atan2(0, -1); s = "polygon"
    for (i = 0; i < n; i++) {
      a = 2 * pi * i / n; w = pi / n
      s = s sprintf(" %.2f,%.2f", x + ri * cos(a - w * 0.9), y + ri * sin(a - w * 0.9))
      s = s sprintf(" %.2f,%.2f", x + ro * cos(a - w * 0.45), y + ro * sin(a - w * 0.45))
      s = s sprintf(" %.2f,%.2f", x + ro * cos(a + w * 0.45), y + ro * sin(a + w * 0.45))
      s = s sprintf(" %.2f,%.2f", x + ri * cos(a + w * 0.9), y + ri * sin(a + w * 0.9))
    }
    print s
  }'
}

# A broom lying along the line from the handle's end hx,hy to the bristles' tip bx,by.
broom() {
  awk -v hx="$1" -v hy="$2" -v bx="$3" -v by="$4" -v wood="$WOOD" -v straw="$STRAW" 'BEGIN {
    dx = bx - hx; dy = by - hy; len = sqrt(dx * dx + dy * dy); ux = dx / len; uy = dy / len
    nx = -uy; ny = ux
    jx = hx + dx * 0.62; jy = hy + dy * 0.62
    hw = len * 0.035; bw0 = len * 0.06; bw1 = len * 0.2
    printf "stroke none fill %s polygon %g,%g %g,%g %g,%g %g,%g ", wood,
      hx + nx * hw, hy + ny * hw, jx + nx * hw, jy + ny * hw, jx - nx * hw, jy - ny * hw, hx - nx * hw, hy - ny * hw
    printf "fill %s polygon %g,%g %g,%g %g,%g %g,%g ", straw,
      jx + nx * bw0, jy + ny * bw0, bx + nx * bw1, by + ny * bw1, bx - nx * bw1, by - ny * bw1, jx - nx * bw0, jy - ny * bw0
    printf "fill #c9922a polygon %g,%g %g,%g %g,%g %g,%g ",
      jx + nx * bw0 * 1.3, jy + ny * bw0 * 1.3, jx + nx * bw0 * 1.3 + ux * len * 0.05, jy + ny * bw0 * 1.3 + uy * len * 0.05,
      jx - nx * bw0 * 1.3 + ux * len * 0.05, jy - ny * bw0 * 1.3 + uy * len * 0.05, jx - nx * bw0 * 1.3, jy - ny * bw0 * 1.3
    printf "stroke #c9922a stroke-width %g ", len * 0.008
    for (i = -2; i <= 2; i++) {
      t = i / 3
      printf "line %g,%g %g,%g ", jx + ux * len * 0.08 + nx * bw0 * t, jy + uy * len * 0.08 + ny * bw0 * t,
        bx + nx * bw1 * t * 0.9, by + ny * bw1 * t * 0.9
    }
    printf "stroke none "
  }'
}

# Every colour sample is kept (4:4:4): at half the colour resolution, as JPEGs usually are, the
# light text's colour smears into the navy around it, and several times as many pixels stray
# from the drawing, in colours of neither.
jpeg() {
  "$IM" "$1" -strip -colorspace sRGB -type TrueColor -sampling-factor 1x1 -quality 82 "$2"
  check_jpeg "$1" "$2"
}

# Stops when a JPEG strays from its lossless drawing: more than 0.2 % of its pixels off by more
# than 15 % of the full scale (broken letters, stray coloured pixels about them). Kept at 4:4:4
# the banners stray by 0.03 to 0.12 %; at 4:2:0 by 0.28 to 0.88 %.
check_jpeg() { # drawing.png picture.jpg
  local off total
  off="$("$COMPARE" -metric AE -fuzz 15% "$1" "$2" null: 2>&1 || true)"
  off="${off%% *}"
  total="$("$IM" "$1" -format '%[fx:w*h]' info:)"
  if ! [[ "$off" =~ ^[0-9]+$ ]] || [ $((off * 1000)) -gt $((total * 2)) ]; then
    echo "make-assets.sh: $(basename "$2"): ${off:-?} of $total pixels stray from the drawing" >&2
    exit 1
  fi
}

# --- Banners -------------------------------------------------------------------------------
# Each banner is drawn at its size at 96 DPI (K=1) and at twice that (K=2): at higher DPI the
# program shrinks the large one to the size it needs, so the picture stays sharp.

# Multiplies each argument by K.
k() { local v out=(); for v in "$@"; do out+=($((v * K))); done; echo "${out[*]}"; }

# Vertical banner 97x337: gradient top to bottom, broom and sparkles, the name read bottom-up.
side_banner() { # out
  "$IM" -size "$(k 97)x$(k 337)" gradient:"$NAVY"-"$TEAL" \
    -draw "$(broom $(k 20 324 72 266)) fill #ffffffd0 $(star $(k 80 248 8)) $(star $(k 26 266 5)) $(star $(k 86 296 4))" \
    \( -size "$(k 224)x$(k 64)" xc:none -font "$FONT" -pointsize "$(k 23)" -fill white -gravity center \
       -annotate "+0-$(k 8)" 'Zarn Cleaner' -font "$FONT_PLAIN" -pointsize "$(k 10)" -fill '#bfe8ea' \
       -annotate "+0+$(k 16)" 'privacy and trace cleaner' -rotate -90 \) \
    -gravity north -geometry "+0+$(k 10)" -composite "$1"
}

# Horizontal banner 555x70: gradient left to right, name at the left, broom at the right.
top_banner() { # out
  "$IM" -size "$(k 70)x$(k 555)" gradient:"$NAVY"-"$TEAL" -rotate -90 \
    -draw "$(broom $(k 430 58 505 14)) fill #ffffffd0 $(star $(k 520 30 8)) $(star $(k 470 14 5)) $(star $(k 540 56 4))" \
    -font "$FONT" -pointsize "$(k 28)" -fill white -annotate "+$(k 22)+$(k 40)" 'Zarn Cleaner' \
    -font "$FONT_PLAIN" -pointsize "$(k 12)" -fill '#bfe8ea' -annotate "+$(k 24)+$(k 58)" 'Clean up the traces your programs leave behind' \
    "$1"
}

# About banner 393x57, stretched over its panel, so it stays free of fine detail.
about_banner() { # out
  "$IM" -size "$(k 57)x$(k 393)" gradient:"$NAVY"-"$TEAL" -rotate -90 \
    -draw "$(broom $(k 300 50 356 10)) fill #ffffffd0 $(star $(k 370 22 7)) $(star $(k 330 10 4))" \
    -font "$FONT" -pointsize "$(k 24)" -fill white -annotate "+$(k 16)+$(k 36)" 'Zarn Cleaner' \
    -font "$FONT_PLAIN" -pointsize "$(k 11)" -fill '#bfe8ea' -annotate "+$(k 18)+$(k 51)" 'version 3.0' \
    "$1"
}

for K in 1 2; do
  suffix=""; [ "$K" = 1 ] || suffix="_${K}x"
  side_banner "$tmp/side.png"; jpeg "$tmp/side.png" "$res/banner_side$suffix.jpg"
  top_banner "$tmp/top.png"; jpeg "$tmp/top.png" "$res/banner_top$suffix.jpg"
  about_banner "$tmp/about.png"; jpeg "$tmp/about.png" "$res/banner_about$suffix.jpg"
done

# --- Icons ---------------------------------------------------------------------------------

# Renders MVG drawn on a 48-unit grid (or 16 units for the list images) at size px, supersampled.
render() { # design-units size out mvg...
  local units="$1" size="$2" out="$3"
  shift 3
  local big=$((size * 8))
  local k
  k="$(awk -v b="$big" -v u="$units" 'BEGIN { printf "%g", b / u }')"
  "$IM" -size "${big}x${big}" xc:none -draw "scale $k,$k $*" \
    -filter Box -resize "${size}x${size}" -depth 8 "$out"
}

# Little-endian integers for the icon directory.
le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }

# Writes an .ico from PNG renderings: sizes up to 32 become 32-bit BMP entries with alpha (read
# by every Windows), 48 becomes a PNG entry, which keeps the files small (Vista and later, Wine).
make_ico() { # out png...
  local out="$1"
  shift
  local entries=() sizes=() n=0 f s
  for f in "$@"; do
    s="$("$IM" "$f" -format "%w" info:)"
    if [ "$s" -le 32 ]; then
      "$IM" "$f" -type TrueColorAlpha "$tmp/one.ico"
      tail -c +23 "$tmp/one.ico" >"$tmp/entry$n"
    else
      "$IM" "$f" -strip -define png:exclude-chunks=date,time PNG32:"$tmp/entry$n"
    fi
    entries+=("$tmp/entry$n")
    sizes+=("$s")
    n=$((n + 1))
  done
  local offset=$((6 + 16 * n)) i len
  {
    le16 0; le16 1; le16 "$n"
    for ((i = 0; i < n; i++)); do
      len="$(stat -c %s "${entries[$i]}")"
      printf "\\$(printf %03o "${sizes[$i]}")\\$(printf %03o "${sizes[$i]}")\\000\\000"
      le16 1; le16 32; le32 "$len"; le32 "$offset"
      offset=$((offset + len))
    done
    cat "${entries[@]}"
  } >"$out"
}

icon() { # name sizes mvg
  local name="$1" sizes="$2" mvg="$3" s files=()
  for s in $sizes; do
    render 48 "$s" "$tmp/$name-$s.png" "$mvg"
    files+=("$tmp/$name-$s.png")
  done
  make_ico "$res/$name.ico" "${files[@]}"
}

# The list images at 16 pixels (96 DPI) and at 125, 150 and 200 %, each drawn at its size.
list_icon() { # name mvg
  local s files=()
  for s in 16 20 24 32; do
    render 16 "$s" "$tmp/$1-$s.png" "$2"
    files+=("$tmp/$1-$s.png")
  done
  make_ico "$res/$1.ico" "${files[@]}"
}

letter() { # fill size x y text
  echo "stroke none fill $1 font $FONT font-size $2 text $3,$4 '$5'"
}

# Window icons (16 and 32 at 96 DPI) and the forms' 32-pixel icon, at 100, 125, 150 and 200 %.
SIZES="16 20 24 32 40 48 64"

page='stroke #5a6470 stroke-width 1.5 fill white polygon 10,3 30,3 40,13 40,45 10,45 stroke-linejoin round fill #dfe4ea polygon 30,3 30,13 40,13'

icon app "$SIZES" "stroke none fill $NAVY roundrectangle 1,1 47,47 9,9 fill $TEAL roundrectangle 4,4 44,44 7,7 $(broom 8 42 36 12) fill white $(star 38 10 7) $(star 14 12 4)"

icon cat_explorer "$SIZES" "stroke #a87a12 stroke-width 1.5 stroke-linejoin round fill #e0a92e polygon 4,12 17,12 21,16 44,16 44,40 4,40 fill $STRAW polygon 4,20 44,20 44,40 4,40"
icon cat_applets "$SIZES" "stroke #2a4a7a stroke-width 1.5 fill white roundrectangle 4,7 44,41 3,3 stroke none fill #2f6fc4 rectangle 5,8 43,16 fill white rectangle 35,10 40,14 fill #cfd8e4 rectangle 9,21 27,23 rectangle 9,27 39,29 rectangle 9,33 33,35"
icon cat_system "$SIZES" "stroke #3e4853 stroke-width 1.2 fill #7d8b99 $(gear 24 24 21 15 9) fill #e9edf1 circle 24,24 24,31"
icon cat_ie "$SIZES" "stroke #1e4f9c stroke-width 1.5 fill #bfdcf7 circle 24,24 24,4 stroke #8fbbe8 stroke-width 1.5 fill none ellipse 24,24 9,19 0,360 line 5,24 43,24 ellipse 24,24 19,7 0,360 $(letter '#1a4f9f' 38 10 38 e)"
icon cat_opera "$SIZES" "stroke #c4141c stroke-width 8 fill none ellipse 24,24 14,18 0,360"
icon cat_firefox "$SIZES" "stroke #b54a00 stroke-width 1.5 fill #f28a1e circle 24,24 24,4 stroke #ffd08a stroke-width 1.8 fill none ellipse 24,24 9,19 0,360 line 24,5 24,43 line 5,24 43,24 ellipse 24,24 19,7 0,360"
icon cat_safari "$SIZES" "stroke #1e5fbf stroke-width 4 fill white circle 24,24 24,5 stroke none fill #d32b2b polygon 24,24 34,10 27,26 fill #9aa6b2 polygon 24,24 14,38 21,22 fill #333 circle 24,24 24,26"
icon cat_msoffice "$SIZES" "$page $(letter '#1f4e9c' 22 12 37 W) stroke #1f4e9c stroke-width 1.5 line 14,41 36,41"
icon cat_openoffice "$SIZES" "$page stroke #1e73be stroke-width 2.5 fill none stroke-linecap round path 'M 13,31 Q 18,21 24,29 Q 30,21 36,31'"
icon cat_adobe "$SIZES" "stroke none fill #c8161d roundrectangle 4,4 44,44 6,6 $(letter white 34 12 39 A)"
icon cat_macromedia "$SIZES" "stroke none fill #31363b roundrectangle 4,4 44,44 6,6 $(letter '#f5a623' 32 7 37 M)"
icon cat_mediaplayer "$SIZES" "stroke #1b5e20 stroke-width 1.5 fill #43a047 circle 24,24 24,4 stroke none fill white polygon 18,13 36,24 18,35"
icon cat_chrome "$SIZES" "stroke none fill #db4437 path 'M 24,24 L 24,4 A 20,20 0 0,1 41.32,34 Z' fill #f4b400 path 'M 24,24 L 41.32,34 A 20,20 0 0,1 6.68,34 Z' fill #0f9d58 path 'M 24,24 L 6.68,34 A 20,20 0 0,1 24,4 Z' fill white circle 24,24 24,14.5 fill #4285f4 circle 24,24 24,17.5"
icon cat_edge "$SIZES" "stroke none fill #0c59a4 circle 24,24 24,4 fill #35c1a8 path 'M 4.5,28 A 20,20 0 0,0 43.5,28 Q 36,36 24,33 Q 12,30 4.5,28 Z' stroke white stroke-width 4.5 stroke-linecap round fill none path 'M 12,30 Q 13,13 28,13 Q 38,14 37,24 L 20,24'"
icon cat_brave "$SIZES" "stroke #a8380f stroke-width 1.5 stroke-linejoin round fill #f26b2a path 'M 24,3 L 41,8 L 39,29 Q 35,39 24,45 Q 13,39 9,29 L 7,8 Z' stroke none fill #ffb37a path 'M 24,7 L 37,11 L 35.5,28 Q 32,36 24,41 Z' fill white polygon 16,19 32,19 24,33"
icon cat_vivaldi "$SIZES" "stroke none fill #d93a3a roundrectangle 4,4 44,44 11,11 stroke white stroke-width 6 stroke-linecap round stroke-linejoin round fill none polyline 14,15 24,34 34,15"

list_icon list_scan "stroke #2f3a45 stroke-width 1.6 fill #cfe6fb circle 6.5,6.5 6.5,1.8 stroke-width 2.6 stroke-linecap round line 10,10 14.3,14.3"
list_icon list_done "stroke #1f9d2b stroke-width 2.6 stroke-linecap round stroke-linejoin round fill none polyline 2.5,8.5 6.3,12.3 13.5,3.5"
list_icon list_clean "stroke #3e4650 stroke-width 0.9 stroke-linejoin round fill #a3adb8 polygon 10.6,7.4 15.4,9.6 9.6,15.4 7.4,10.6 stroke #8e1016 stroke-width 3.4 stroke-linecap round line 2,2 8.2,8.2 stroke #e8333b stroke-width 1.6 line 2,2 8,8"

total="$(cat "$res"/*.jpg "$res"/*.ico | wc -c)"
echo "assets: $(ls "$res"/*.jpg "$res"/*.ico | wc -l) files, $total bytes in $res"
