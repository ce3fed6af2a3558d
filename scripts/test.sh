#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine and Xvfb in throwaway Wine
# prefixes. Always: the x64 build's test programs in a 64-bit prefix, its DPI groups, the
# standard-user group and the installer. Where this machine runs 32-bit code: also the x86
# build's test programs in a 32-bit prefix and in a 64-bit one (WOW64). A group left out is
# named with its reason and never counted as passed.
# ZARN_X64_ONLY=1 takes the 64-bit-only path on a machine that runs both.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"

# Everything is installed first, so that whether 32-bit code runs is asked once, of the Wine that
# the whole run uses.
apt_need "${apt_setup_groups[@]}" installer
decide_32bit
archs=(x64)
if runs_32bit; then archs+=(x86); fi
# A build that fails fails its own groups; the other architecture's still run.
declare -A built=()
for arch in "${archs[@]}"; do
  if "$repo/scripts/setup.sh" "$arch"; then built[$arch]=yes; else echo "== the $arch build failed"; fi
done

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export ZARN_THROWAWAY_PREFIX=1
# Folder links for the tests that check scans never follow one: Win32 cannot make them
# under Wine, a Unix symbolic link inside the prefix lists as a reparse point.
export ZARN_LINK_FIXTURES='C:\zarn-fixtures'
# The User Data folder of every browser in the Chromium browsers' table, one a line
# ("Google/Chrome/User Data"), read from the table itself.
ZARN_CHROMIUM_USER_DATA="$(sed -n 's/^ *\.userData = "\(.*\)",$/\1/p' "$repo/categories/chromium_browsers.cpp" |
  sed 's/\\\\/\//g; s/^\///; s/\/$//')"
export ZARN_CHROMIUM_USER_DATA
make_fixtures() {
  local fx="$1/drive_c/zarn-fixtures"
  mkdir -p "$fx/outside/sub" "$fx/cache/Content.IE5/ABCD1234" "$fx/appdata/Apple Computer/QuickTime/downloads/sub"
  echo secret > "$fx/outside/secret.dat"
  echo deep > "$fx/outside/sub/deep.dat"
  echo page > "$fx/cache/Content.IE5/ABCD1234/page.htm"
  echo movie > "$fx/appdata/Apple Computer/QuickTime/downloads/movie.mov"
  echo part > "$fx/appdata/Apple Computer/QuickTime/downloads/sub/part.mov"
  ln -s "$fx/outside" "$fx/cache/Content.IE5/LINKED"
  ln -s "$fx/outside" "$fx/cache/Content.IE5/ABCD1234/LINKED2"
  ln -s "$fx/outside" "$fx/appdata/Apple Computer/QuickTime/downloads/LINKED"
  # Every Chromium browser of the table: a profile, cache, cookie and code-cache folder that lead outside.
  mkdir -p "$fx/chromium-outside/Cache_Data"
  echo h > "$fx/chromium-outside/History"; echo c > "$fx/chromium-outside/Cookies"
  echo d > "$fx/chromium-outside/Cache_Data/data_0"
  while IFS= read -r ud; do
    ud="$fx/chromium/$ud"
    mkdir -p "$ud/Default/Code Cache/js"
    echo i > "$ud/Default/Code Cache/js/index"; echo h > "$ud/Default/History"
    for link in "Profile 7" "Default/Cache" "Default/Network" "Default/Code Cache/js/LINKED"; do
      ln -s "$fx/chromium-outside" "$ud/$link"
    done
  done <<< "$ZARN_CHROMIUM_USER_DATA"
  # Firefox and Opera: a folder on the way to today's profiles that leads outside.
  local p="$fx/profiles" out="$fx/profiles-outside"
  mkdir -p "$out/entries" "$p/Mozilla/Firefox/Profiles/real.default" "$p/Opera Software/Opera Stable"
  for f in secret.dat History Cookies formhistory.sqlite entries/E1; do echo x > "$out/$f"; done
  printf '[Profile0]\r\nPath=Profiles/real.default\r\n' > "$p/Mozilla/Firefox/profiles.ini"
  echo f > "$p/Mozilla/Firefox/Profiles/real.default/formhistory.sqlite"
  echo h > "$p/Opera Software/Opera Stable/History"
  for link in Mozilla/Firefox/Profiles/real.default/Cache Mozilla/Firefox/Profiles/real.default/cache2 \
    "Opera Software/Opera Stable/Network" "Opera Software/Opera Stable/Default" "Opera Software/Opera Stable/Cache" \
    "Opera Software/Opera GX Stable"; do
    ln -s "$out" "$p/$link"
  done
  # A database that is a link to one outside the profile (the test makes the database).
  ln -s "$out/cookies.sqlite" "$p/Mozilla/Firefox/Profiles/real.default/cookies.sqlite"
  # Databases: a side file of each profile is a link to a file outside (race's journal leads
  # nowhere until its test makes the target); a share, a drive letter and a link above a
  # roaming folder.
  local d="$fx/databases/Mozilla/Firefox/Profiles" dout="$fx/databases-outside"
  mkdir -p "$dout" "$fx/unc-share" "$fx/mapped" "$fx/above-real" "$1/dosdevices/unc/zarnserver"
  for side in shm:cookies.sqlite-shm wal:cookies.sqlite-wal journal:cookies.sqlite-journal \
    icons:favicons.sqlite-wal race:cookies.sqlite-journal whole:formhistory.sqlite-wal; do
    mkdir -p "$d/${side%%:*}"; echo x > "$dout/${side%%:*}"; ln -s "$dout/${side%%:*}" "$d/${side%%:*}/${side#*:}"
  done
  # Site data of Chrome's profile: an IndexedDB origin that is a link, a real origin with a link
  # inside, and a Local Storage folder that is a link, each to a folder outside.
  local sd="$fx/chromium-sites/Google/Chrome/User Data/Default" sout="$fx/sites-outside"
  mkdir -p "$sout/origin" "$sd/IndexedDB/https_real.test_0.indexeddb.leveldb"
  echo x > "$sout/origin/000003.log"; echo x > "$sd/IndexedDB/https_real.test_0.indexeddb.leveldb/000003.log"
  ln -s "$sout/origin" "$sd/IndexedDB/https_linked.test_0.indexeddb.leveldb"
  ln -s "$sout/origin" "$sd/IndexedDB/https_real.test_0.indexeddb.leveldb/LINKED"
  ln -s "$sout" "$sd/Local Storage"
  # Firefox's: an origin folder that is a link to a folder outside (the test writes the
  # origin's metadata there).
  local ff="$fx/firefox-sites/Mozilla/Firefox/Profiles/linked"
  mkdir -p "$sout/firefox-origin" "$ff/storage/default"
  ln -s "$sout/firefox-origin" "$ff/storage/default/http+++tracker.test"
  # Chrome's profile with 10,000 IndexedDB origins, each of a site of its own.
  local many="$fx/many-origins/Google/Chrome/User Data/Default/IndexedDB"
  mkdir -p "$many"
  (cd "$many" && mkdir http_site{1..10000}.test_0.indexeddb.leveldb)
  ln -s "$fx/unc-share" "$1/dosdevices/unc/zarnserver/profiles"
  ln -s "$fx/mapped" "$1/dosdevices/x:"
  ln -s "$fx/above-real" "$fx/above"
}

status=0 passed=0 failed=0 left_out=0
# Records the outcome of one block of tests; the run fails if any block failed.
block() {
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; echo "== $1: FAILED"; fi
}
leave_out() { left_out=$((left_out + 1)); echo "== left out: $1 ($2)"; }

# in_prefix NAME KIND SCREEN SCRIPT: runs SCRIPT (bash) in a new prefix build/wineprefix-NAME of
# the Wine KIND (x64, x86, wow64), inside an X server, with one wineserver for all of it. SCRIPT
# sees $build, the build folder the caller exported.
in_prefix() {
  local name="$1" kind="$2" screen="$3" script="$4"
  local bin="$repo/build/wine-$kind"
  make_wine_bin "$bin" "$kind"
  # Wine keeps its recycle bin in the Unix user's trash: each prefix gets a trash of its own.
  WINEPREFIX="$repo/build/wineprefix-$name" WINEARCH="$(wine_arch "$kind")" PATH="$bin:$PATH" \
  XDG_DATA_HOME="$repo/build/xdg-$name" FIXTURES="$(declare -f make_fixtures)" PRELUDE="$repo/scripts/wine-prefix.sh" \
    xvfb-run -a -s "-screen 0 $screen" bash -c '
    set -e
    . "$PRELUDE"
    rm -rf "$XDG_DATA_HOME"; mkdir -p "$XDG_DATA_HOME"
    wine_prefix_new
    eval "$FIXTURES"; make_fixtures "$WINEPREFIX"
    wine_prefix_serve
    cd "$build"
    status=0
    '"$script"' || status=$?
    wineserver -k || true
    exit $status
  '
}

# group NAME ARCH COMMAND...: the test group NAME, COMMAND run on the build of ARCH (in $build).
# A build that is missing fails the group with a line that says so.
group() {
  local name="$1" arch="$2"
  shift 2
  export build
  build="$(arch_build_dir "$repo" "$arch")"
  if [ -z "${built[$arch]:-}" ] || [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "== $name: no $arch build in ${build#"$repo"/}"
    block "$name" 1
  elif "$@"; then
    block "$name" 0
  else
    block "$name" 1
  fi
}

# The windows at 100, 125, 150 and 200 %, on a screen as large as a 200 % one (a window never
# grows beyond its screen, also when it moves to a higher DPI). Wine takes the resolution from
# the registry when a program starts, so each group runs after its value is set.
dpi_groups='
  for dpi in 96 120 144 192; do
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    ctest --output-on-failure -j2 -L "^dpi$dpi\$" || status=$?
  done
  (exit $status)'

# ---- x64 ------------------------------------------------------------------------------
echo "== x64 build, 64-bit prefix: every test program"
group "x64 tests" x64 in_prefix test x64 1024x768x24 'ctest --output-on-failure -j2 -LE "^dpi[0-9]+\$"'
echo "== x64 build, 64-bit prefix: the windows at 96, 120, 144 and 192 DPI"
group "x64 DPI" x64 in_prefix test-dpi x64 2560x1600x24 "$dpi_groups"

# ---- x86 ------------------------------------------------------------------------------
# A 32-bit program on 64-bit Windows meets WOW64: two registry views and system32
# redirected to SysWOW64. Only the tests that differ there run in the 64-bit prefix.
wow64_tests='^(test_wow64|test_catalogue|test_windsys)$'
if runs_32bit; then
  echo "== x86 build, 32-bit prefix: every test program"
  group "x86 tests" x86 in_prefix test-x86 x86 1024x768x24 'ctest --output-on-failure -j2 -LE "^dpi[0-9]+\$"'
  echo "== x86 build, 64-bit prefix (WOW64): $wow64_tests"
  group "x86 under WOW64" x86 in_prefix test-wow64 wow64 1024x768x24 "ctest --output-on-failure -j2 -R '$wow64_tests'"
else
  reason="$(why_no_32bit)"
  leave_out "x86 build, 32-bit prefix: every test program" "$reason"
  leave_out "x86 build, 64-bit prefix (WOW64): $wow64_tests" "$reason"
fi
export build="$repo/build"

# ---- unprivileged Unix user ----------------------------------------------------------
# Wine run as root opens a read-only file for writing; a standard user on Windows cannot.
# The file-probe, cleaner and System tests run again as an unprivileged user, in a prefix
# of its own, so the read-only and access-denied paths are taken as on Windows.
user_tests=(test_probes test_cleaner test_windsys)
test_user=zarn-tester
as_test_user() {
  id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$test_user" || return 1
  # The user works in a folder of its own outside the clone, with copies of the test
  # programs, of the Wine wrappers and of the prefix prelude: the clone may sit below folders
  # that other users cannot enter.
  local user_dir t status=0
  user_dir="$(mktemp -d /tmp/zarn-user-test.XXXXXX)"
  chmod 755 "$user_dir"
  mkdir -p "$user_dir/bin"
  for t in "${user_tests[@]}"; do cp "$build/tests/$t.exe" "$user_dir/bin/" || return 1; done
  cp "$repo/scripts/wine-prefix.sh" "$user_dir/"
  make_wine_bin "$user_dir/wine" x64
  chown -R "$test_user": "$user_dir"
  runuser -u "$test_user" -- env -i PATH="$user_dir/wine:$PATH" HOME="$(getent passwd "$test_user" | cut -d: -f6)" \
    LANG="${LANG:-C.UTF-8}" WINEPREFIX="$user_dir/wineprefix" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" ZARN_THROWAWAY_PREFIX=1 XDG_DATA_HOME="$user_dir/xdg" \
    TESTS="${user_tests[*]}" BUILD="$user_dir" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    . "$BUILD/wine-prefix.sh"
    wine_prefix_new
    wine_prefix_serve
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
  ' || status=1
  rm -rf "$user_dir"
  return $status
}
echo "== x64 build, as $test_user: ${user_tests[*]}"
group "standard user" x64 as_test_user

# ---- installer and portable zip -----------------------------------------------------
# The x64 installer, packed from this build and tested in a 64-bit prefix of its own.
echo "== x64 installer and portable zip"
group installer x64 "$repo/scripts/test-installer.sh"

# Blocks: x64 tests, x64 DPI, (x86 tests, x86 under WOW64,) standard user, installer.
[ "$left_out" -eq 0 ] || echo "left out: $left_out groups (named above)"
echo "blocks: $passed passed, $failed failed"
exit $status
