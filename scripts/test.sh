#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine and Xvfb in a
# throwaway Wine prefix. Ends with CTest's summary.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
"$repo/scripts/setup.sh"

export WINEPREFIX="$repo/build/wineprefix-test"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
export ZARN_THROWAWAY_PREFIX=1
# Wine keeps its recycle bin in the Unix user's trash: give the tests a trash of their own.
export XDG_DATA_HOME="$repo/build/xdg-test"
rm -rf "$XDG_DATA_HOME"; mkdir -p "$XDG_DATA_HOME"
rm -rf "$WINEPREFIX"

# Folder links for the tests that check scans never follow one: Win32 cannot make them
# under Wine, a Unix symbolic link inside the prefix lists as a reparse point.
fx="$WINEPREFIX/drive_c/zarn-fixtures"
make_fixtures() {
  mkdir -p "$fx/outside/sub" "$fx/cache/Content.IE5/ABCD1234" "$fx/appdata/Apple Computer/QuickTime/downloads/sub"
  echo secret > "$fx/outside/secret.dat"
  echo deep > "$fx/outside/sub/deep.dat"
  echo page > "$fx/cache/Content.IE5/ABCD1234/page.htm"
  echo movie > "$fx/appdata/Apple Computer/QuickTime/downloads/movie.mov"
  echo part > "$fx/appdata/Apple Computer/QuickTime/downloads/sub/part.mov"
  ln -s "$fx/outside" "$fx/cache/Content.IE5/LINKED"
  ln -s "$fx/outside" "$fx/cache/Content.IE5/ABCD1234/LINKED2"
  ln -s "$fx/outside" "$fx/appdata/Apple Computer/QuickTime/downloads/LINKED"
  # Chrome and Edge: a profile, cache, cookie and code-cache folder that lead outside.
  mkdir -p "$fx/chromium-outside/Cache_Data"
  echo h > "$fx/chromium-outside/History"; echo c > "$fx/chromium-outside/Cookies"
  echo d > "$fx/chromium-outside/Cache_Data/data_0"
  for ud in "$fx/chromium/Google/Chrome/User Data" "$fx/chromium/Microsoft/Edge/User Data"; do
    mkdir -p "$ud/Default/Code Cache/js"
    echo i > "$ud/Default/Code Cache/js/index"; echo h > "$ud/Default/History"
    for link in "Profile 7" "Default/Cache" "Default/Network" "Default/Code Cache/js/LINKED"; do
      ln -s "$fx/chromium-outside" "$ud/$link"
    done
  done
}
export ZARN_LINK_FIXTURES='C:\zarn-fixtures'

cd "$repo/build"
# One wineserver for the whole run, started inside the X server so it does not linger.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine waits two seconds for every hidden managed window;
  # unmanaged windows need no answer from one.
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
  '"$(declare -f make_fixtures)"'
  fx="'"$fx"'"; make_fixtures
  wineserver -p
  # Start the prefix'"'"'s background services now: started by the first test, they would
  # inherit its output pipe and keep CTest waiting for it to close.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  status=0
  ctest --output-on-failure -j2 || status=$?
  wineserver -k || true
  exit $status
'
