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
status=0 passed=0 failed=0
# Records the outcome of one block of tests; the run fails if any block failed.
block() { if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi; }
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
  ctest --output-on-failure -j2 -LE "^dpi[0-9]+\$" || status=$?
  wineserver -k || true
  exit $status
' && block 0 || block 1

# ---- DPI -----------------------------------------------------------------------------
# The windows at 100, 125, 150 and 200 %, on a screen as large as a 200 % one (a window never
# grows beyond its screen, also when it moves to a higher DPI). Wine takes the resolution from
# the registry when a program starts, so each group runs after its value is set.
xvfb-run -a -s "-screen 0 2560x1600x24" bash -c '
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  status=0
  for dpi in 96 120 144 192; do
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    ctest --output-on-failure -j2 -L "^dpi$dpi\$" || status=$?
  done
  wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true
  wineserver -k || true
  exit $status
' && block 0 || block 1

# ---- 64-bit prefix -------------------------------------------------------------------
# A 32-bit program on 64-bit Windows meets WOW64: two registry views and system32
# redirected to SysWOW64. Debian's wine64 makes such a prefix; only the tests that differ
# there run in it.
dpkg -s wine64 >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends wine64
wow64_tests='^(test_wow64|test_catalogue|test_windsys)$'
prefix64="$repo/build/wineprefix-test64"
rm -rf "$prefix64"
echo "== 64-bit prefix: $wow64_tests"
WINEPREFIX="$prefix64" WINEARCH=win64 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  status=0
  ctest --output-on-failure -j2 -R "'"$wow64_tests"'" || status=$?
  wineserver -k || true
  exit $status
' && block 0 || block 1

# ---- unprivileged Unix user ----------------------------------------------------------
# Wine run as root opens a read-only file for writing; a standard user on Windows cannot.
# The file-probe, cleaner and System tests run again as an unprivileged user, in a prefix
# of its own, so the read-only and access-denied paths are taken as on Windows.
user_tests=(test_probes test_cleaner test_windsys)
test_user=zarn-tester
id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$test_user"
# The user works in a folder of its own outside the clone, with copies of the test
# programs: the clone may sit below folders that other users cannot enter.
user_dir="$(mktemp -d /tmp/zarn-user-test.XXXXXX)"
chmod 755 "$user_dir"
mkdir -p "$user_dir/bin"
for t in "${user_tests[@]}"; do cp "$repo/build/tests/$t.exe" "$user_dir/bin/"; done
chown -R "$test_user": "$user_dir"
echo "== as $test_user: ${user_tests[*]}"
runuser -u "$test_user" -- env -i PATH="$PATH" HOME="$(getent passwd "$test_user" | cut -d: -f6)" LANG="${LANG:-C.UTF-8}" \
  WINEPREFIX="$user_dir/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  ZARN_THROWAWAY_PREFIX=1 XDG_DATA_HOME="$user_dir/xdg" TESTS="${user_tests[*]}" BUILD="$user_dir" \
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineboot -i >/dev/null 2>&1 || true
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  # The current drive is the prefix'"'"'s C: (the tests put bait at its root), not the
  # Unix root, where this user may not write.
  cd "$WINEPREFIX/drive_c"
  status=0
  for t in $TESTS; do
    echo "-- $t"
    wine "$BUILD/bin/$t.exe" --gtest_brief=1 </dev/null || { echo "$t FAILED"; status=1; }
  done
  wineserver -k || true
  exit $status
' && block 0 || block 1

# ---- installer and portable zip -----------------------------------------------------
# Packed from this build and tested in a Wine prefix of their own (under a minute).
"$repo/scripts/test-installer.sh" && block 0 || block 1
rm -rf "$user_dir"

# Blocks of tests: the 32-bit prefix, the DPIs, the 64-bit prefix, the standard user, the installer.
echo "blocks: $passed passed, $failed failed"
exit $status
