#!/usr/bin/env bash
# Starts the cleaner on the demo profile under Xvfb, walks the wizard with real mouse
# clicks and saves a PNG of every page and of two detail dialogs into docs/ (or $1).
# ZARN_DPI=144 takes them at 150 % (120: 125 %, 192: 200 %) on a screen scaled alike.
# Installs what is missing and builds first, as run-demo.sh does. The x64 build; ZARN_ARCH=x86
# the x86 one, where 32-bit code runs.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"
apt_need "${apt_setup_groups[@]}"
decide_32bit
arch="$(chosen_arch)"
"$repo/scripts/setup.sh" "$arch" >/dev/null
exe="$(arch_build_dir "$repo" "$arch")/ZarnCleaner.exe"
out="${1:-$repo/docs}"
mkdir -p "$out"
demo_wine "$repo" "$arch"
"$repo/scripts/seed-demo.sh"
dpi="${ZARN_DPI:-96}"
# A length at 96 DPI at the screenshots' DPI, rounded as the program rounds.
s() { echo $(( ($1 * dpi + 48) / 96 )); }

xvfb-run -a -s "-screen 0 $(s 1024)x$(s 768)x24" bash -c '
  set -e
  out="'"$out"'"
  dpi='"$dpi"'
  '"$(declare -f s)"'
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  wine "'"$exe"'" &
  for i in $(seq 1 100); do wid=$(xdotool search --name "^ZARN CLEANER$" 2>/dev/null | head -1) && [ -n "$wid" ] && break; sleep 0.2; done
  sleep 1.5
  # The client area starts below the caption Wine draws itself.
  click() { xdotool mousemove --window "$wid" $(( $(s $1) + 3 )) $(( $(s $2) + 3 )) click 1; }
  crop="$(s 600)x$(s 480)+$(( ($(s 1024) - $(s 600)) / 2 ))+$(( ($(s 768) - $(s 480)) / 2 ))"
  shot() { sleep "${2:-1}"; import -window root -crop "$crop" "$out/$1.png"; }
  # Waits (up to two minutes) until the window stops changing: a scan or clean has finished,
  # however long a busy machine takes for it.
  settle() {
    local i
    import -window root -crop "$crop" "$out/.settle-a.png"
    for i in $(seq 1 120); do
      sleep 1
      import -window root -crop "$crop" "$out/.settle-b.png"
      [ "$(compare -metric AE "$out/.settle-a.png" "$out/.settle-b.png" null: 2>&1)" = 0 ] && break
      mv "$out/.settle-b.png" "$out/.settle-a.png"
    done
    rm -f "$out/.settle-a.png" "$out/.settle-b.png"
  }
  shot page1-catalogue
  click 221 380; shot page2-scanning 3; settle; shot page2-scan-complete
  click 221 380; shot page3-results
  xdotool mousemove --window "$wid" $(s 60) $(( $(s 72) + $(s 32) + 3 + $(s 28) )) click --repeat 2 --delay 80 1
  sleep 1.5
  did=$(xdotool search --name "^Zarn Cleaner - Windows Explorer$" | head -1)
  [ -n "$did" ] || { echo "screenshot.sh: no Windows Explorer detail dialog" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$did")"
  import -window root -crop ${WIDTH}x${HEIGHT}+${X}+${Y} "$out/detail-dialog.png"
  # The gradient buttons: normal, hot (pointer over OK), down (Cancel pressed).
  by=$(( HEIGHT - $(s 8) - $(s 57) + $(s 16) + $(s 12) )); cx=$(( WIDTH - $(s 8) - $(s 8) - $(s 37) )); ox=$(( cx - $(s 83) ))
  strip() { sleep 0.4; import -window root -crop $(s 200)x$(s 40)+$(( X + WIDTH - $(s 210) ))+$(( Y + by - $(s 20) )) "$out/$1"; }
  xdotool mousemove --window "$did" 20 20; strip buttons-normal.png
  xdotool mousemove --window "$did" $ox $by; strip buttons-hot.png
  xdotool mousemove --window "$did" $cx $by mousedown 1; strip buttons-down.png
  xdotool mousemove --window "$did" 20 20 mouseup 1
  convert "$out/buttons-normal.png" "$out/buttons-hot.png" "$out/buttons-down.png" -append "$out/detail-buttons.png"
  rm -f "$out/buttons-normal.png" "$out/buttons-hot.png" "$out/buttons-down.png"
  # Escape does nothing in a detail dialog: close it with Cancel.
  xdotool mousemove --window "$did" $cx $by click 1; sleep 0.5
  # Firefox, the sixth row: its cache files, cookie sites and history.
  xdotool mousemove --window "$wid" $(s 60) $(( $(s 72) + $(s 32) + 3 + $(s 28) + $(s 70) )) click --repeat 2 --delay 80 1
  sleep 1.5
  did=$(xdotool search --name "^Zarn Cleaner - Mozilla$" | head -1)
  [ -n "$did" ] || { echo "screenshot.sh: no Firefox detail dialog" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$did")"
  import -window root -crop ${WIDTH}x${HEIGHT}+${X}+${Y} "$out/detail-cookies.png"
  xdotool mousemove --window "$did" $cx $by click 1; sleep 0.5
  click 221 380; shot page4-cleaning 1.5; settle; shot page4-complete
  # The demo runs at the screen'"'"'s own resolution again.
  wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true
  wineserver -k || true
'
echo "screenshots in $out"
