#!/usr/bin/env bash
# Packs the built x64 program into the installer and the portable zip and tests them under the
# 64-bit Wine, in a prefix of their own (build/wineprefix-installer), as a user would meet them:
#   an older version installed (the x86 one where this machine runs 32-bit code, so that an x64
#   install over an x86 one is tried), then this one over it into another folder (/D=) that
#   already holds a file of the user's; installed a second time; the program started from the
#   shortcut; the silent uninstall; the portable program started from a folder with a space and
#   letters outside ASCII in its name.
# Needs build/ZarnCleaner.exe (scripts/setup.sh builds it; build-x86/ for the older x86 one where
# it is used). Prints "installer: N checks, N failed".
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
build="$repo/build"
work="$build/installer-test"

if [ "${1:-}" != "--inside" ]; then
  # shellcheck source=scripts/apt.sh
  . "$repo/scripts/apt.sh"
  apt_need installer pictures
  rm -rf "$work"
  mkdir -p "$work/older/generated"
  bash "$repo/packaging/package.sh" "$build" "$work/dist" >/dev/null
  # An older release to upgrade from: the same program under a lower version, of the x86 build
  # where it can run, else of this one.
  older_build="$build" x86_build="$(arch_build_dir "$repo" x86)"
  if ! runs_32bit; then
    echo "installer: the older version is the x64 one ($(why_no_32bit))"
  elif [ ! -f "$x86_build/ZarnCleaner.exe" ]; then
    echo "installer: the older version is the x64 one (the x86 build is missing: no ${x86_build#"$repo"/}/ZarnCleaner.exe)"
  else
    older_build="$x86_build"
  fi
  cp "$older_build/ZarnCleaner.exe" "$work/older/"
  cp "$older_build/generated/arch.txt" "$work/older/generated/"
  echo 2.9.0 >"$work/older/generated/version.txt"
  bash "$repo/packaging/package.sh" "$work/older" "$work/older-dist" >/dev/null
  "$(arch_compiler x64)" -std=c++20 -O2 -Wall -Wextra -static -o "$work/installer_probe.exe" \
    "$repo/tests/installer/installer_probe.cpp" -luser32 -lversion -lshell32

  export WINEPREFIX="$build/wineprefix-installer" WINEARCH=win64
  make_wine_bin "$work/wine" x64
  export PATH="$work/wine:$PATH"
  # No Linux menu entries for the shortcuts: they would land in the Unix user's home.
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export XDG_DATA_HOME="$work/xdg-data" XDG_CONFIG_HOME="$work/xdg-config"
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside
fi

# From here on inside the X server, with a wineserver of this prefix's own.
# shellcheck source=scripts/wine-prefix.sh
. "$repo/scripts/wine-prefix.sh"
wine_prefix_new
wine_prefix_serve
trap 'wineserver -k || true' EXIT

checks=0
failed=0
check() {  # check DESCRIPTION COMMAND...: one named expectation
  local what="$1"
  shift
  checks=$((checks + 1))
  if "$@"; then :; else
    failed=$((failed + 1))
    echo "FAIL: $what"
  fi
}
same() { [ "$1" = "$2" ] || { echo "  got:      $1"; echo "  expected: $2"; return 1; }; }

pe_machine() {  # pe_machine FILE: the machine of a Windows program, 8664 for x64, 14c for x86
  local pe
  pe=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((pe + 4)) -N 2 "$1" | tr -d ' '
}
probe() { wine "$work/installer_probe.exe" "$@" </dev/null | tr -d '\r'; }
# Wine now and then fails to start winepath ("ShellExecuteEx failed: Internal error", said on
# standard output): a path is asked again, and never taken from such a message.
winpath() {
  local path try
  for try in 1 2 3; do
    path="$(winepath -w "$1" 2>/dev/null)" && [[ "$path" == [A-Za-z]:\\* ]] && { echo "$path"; return 0; }
    sleep 1
  done
  echo "winepath failed for $1" >&2
  return 1
}
unixpath() { winepath -u "$1" 2>/dev/null; }
entry=""
read_entry() { entry="$(wine reg query "$key" 2>/dev/null </dev/null | tr -d '\r')" || entry=""; }
value() {  # value NAME: the uninstall entry's value as "TYPE DATA" (as read_entry last saw it)
  sed -n "s/^    $1    \(REG_[A-Z_]*\)    \(.*\)$/\1 \2/p" <<<"$entry"
}
listing() {  # every file and folder of the prefix's drive C, and the registry's keys and values
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 | LC_ALL=C sort)
  wine regedit /E "C:\\registry.reg" >/dev/null 2>&1 </dev/null || true
  # One line per key and per value (with its key), without the hardware state that Wine
  # rebuilds at every start.
  iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/registry.reg" | tr -d '\r' |
    awk '/^\[/ { key = $0; print; next } /^("|@)/ { print key " " $0 }' |
    grep -v -e '^\[HKEY_LOCAL_MACHINE\\System\\' -e '^\[HKEY_LOCAL_MACHINE\\Hardware\\' \
      -e '\\Software\\Wine\\Temporary System Parameters' | LC_ALL=C sort
  rm -f "$WINEPREFIX/drive_c/registry.reg"
}

version="$(cat "$build/generated/version.txt")"
setup="$work/dist/ZarnCleaner-$version-x64-setup.exe"
older="$(ls "$work"/older-dist/ZarnCleaner-2.9.0-*-setup.exe)"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarnCleaner'

local_appdata="$(unixpath "$(wine cmd /c echo %LOCALAPPDATA% </dev/null | tr -d '\r')")"
documents="$(unixpath 'C:\users\Public\Documents')"
default_dir="$local_appdata/Programs/Zarn Cleaner"
tools_dir="$documents/My Tools"
mkdir -p "$tools_dir"
printf 'my own notes\r\n' >"$tools_dir/notes.txt"
shortcut="$(unixpath "$(wine cmd /c echo %APPDATA% </dev/null | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Zarn Cleaner.lnk"

listing >"$work/before.txt"

installed_right() {  # installed_right DIR VERSION: files, shortcut and the one uninstall entry
  local dir="$1" want_version="$2" windir
  windir="$(winpath "$dir")"
  read_entry
  check "installed files in $windir" same "$(cd "$dir" && ls -1 | LC_ALL=C sort | tr '\n' '|')" \
    "LICENSE.txt|THIRD-PARTY-NOTICES.txt|Uninstall.exe|ZarnCleaner.exe|notes.txt|"
  check "installed program is the built one" cmp -s "$dir/ZarnCleaner.exe" "$build/ZarnCleaner.exe"
  check "installed license is the project's" diff -q <(tr -d '\r' <"$dir/LICENSE.txt") "$repo/LICENSE"
  check "installed notices" diff -q <(tr -d '\r' <"$dir/THIRD-PARTY-NOTICES.txt") "$repo/THIRD-PARTY-NOTICES.txt"
  check "Start-menu shortcut points to the program" grep -qaF "$windir\\ZarnCleaner.exe" "$shortcut"
  check "DisplayName" same "$(value DisplayName)" "REG_SZ Zarn Cleaner"
  check "DisplayVersion" same "$(value DisplayVersion)" "REG_SZ $want_version"
  check "Publisher" same "$(value Publisher)" "REG_SZ Zarn Software"
  check "DisplayIcon" same "$(value DisplayIcon)" "REG_SZ $windir\\ZarnCleaner.exe,0"
  check "UninstallString" same "$(value UninstallString)" "REG_SZ \"$windir\\Uninstall.exe\""
  check "QuietUninstallString" same "$(value QuietUninstallString)" "REG_SZ \"$windir\\Uninstall.exe\" /S"
  check "InstallLocation" same "$(value InstallLocation)" "REG_SZ $windir"
  local kb=$(( ($(stat -c %s "$dir/ZarnCleaner.exe") + $(stat -c %s "$dir/LICENSE.txt") +
               $(stat -c %s "$dir/THIRD-PARTY-NOTICES.txt")) / 1024 ))
  local size
  size=$(( $(value EstimatedSize | sed 's/^REG_DWORD //') ))
  check "EstimatedSize $size KB against $kb KB of files" [ "$size" -ge "$kb" -a "$size" -le $((kb + 8)) ]
  check "uninstaller is an x64 program" same "$(pe_machine "$dir/Uninstall.exe")" 8664
  check "uninstaller's version resource and icon" same "$(probe about "$windir\\Uninstall.exe")" \
    "Zarn Cleaner|$version|$version.0|1"
  check "NoModify" same "$(value NoModify)" "REG_DWORD 0x1"
  check "NoRepair" same "$(value NoRepair)" "REG_DWORD 0x1"
  check "one uninstall entry" same "$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    grep -c 'DisplayName    REG_SZ    Zarn Cleaner')" 1
  check "one shortcut" same "$(find "$WINEPREFIX/drive_c" -iname '*.lnk' | grep -ic zarn)" 1
}

check "installer is an x64 program" same "$(pe_machine "$setup")" 8664
check "program is an x64 program" same "$(pe_machine "$build/ZarnCleaner.exe")" 8664
# The version resources come from the project's one version.
check "installer's version resource and icon" same "$(probe about "$(winpath "$setup")")" "Zarn Cleaner|$version|$version.0|1"
check "program's version resource" same "$(probe about "$(winpath "$build/ZarnCleaner.exe")" | cut -d'|' -f1-3)" \
  "Zarn Cleaner|${version%.*}|$version.0"

# An older version in the default folder; then this one over it, into the user's folder.
wine "$older" /S </dev/null
read_entry
check "older version installed in the default folder" same "$(value InstallLocation)" \
  "REG_SZ $(winpath "$default_dir")"
# /D= takes the rest of the command line, unquoted, as Windows users type it: cmd passes it so.
wine cmd /c "$(winpath "$setup") /S /D=$(winpath "$tools_dir")" </dev/null
check "upgrade removed the older copy and its folder" [ ! -e "$default_dir" ]
installed_right "$tools_dir" "$version"

# Installed a second time (the folder comes from the last install's entry).
wine "$setup" /S </dev/null
check "second install left the default folder alone" [ ! -e "$default_dir" ]
installed_right "$tools_dir" "$version"

# The installed program, started through its shortcut, shows the wizard's first page.
wine start /unix "$shortcut" </dev/null
check "installed program shows page 1" probe page1 30

# The silent uninstall, as Apps & features runs it for an administrator.
read_entry
quiet="$(value QuietUninstallString | sed 's/^REG_SZ //')"
uninstaller="$(sed 's/^"\([^"]*\)".*/\1/' <<<"$quiet")"
wine "$uninstaller" /S </dev/null
check "uninstaller finished" probe wait-gone Un.exe 30
check "the user's file survives the uninstall" same "$(cat "$tools_dir/notes.txt")" "$(printf 'my own notes\r')"
check "uninstall removed exactly what it installed" same "$(cd "$tools_dir" && ls -1 | tr '\n' '|')" "notes.txt|"
read_entry
check "uninstall removed the entry" same "$entry" ""
listing >"$work/after.txt"
# The uninstaller ran from a copy in the temp folder, which Windows deletes at the next start.
wineboot -r >/dev/null 2>&1 </dev/null || true
listing >"$work/after-restart.txt"
check "nothing of ours left in the prefix (files, registry)" diff "$work/before.txt" "$work/after-restart.txt"

# The portable program from a folder with a space and letters outside ASCII.
portable="$(unixpath 'C:\users\Public')/Zärn Прогрáмма"
mkdir -p "$portable"
unzip -q "$work/dist/ZarnCleaner-$version-x64-portable.zip" -d "$portable"
check "portable zip holds program, license, notices, read-me" same \
  "$(cd "$portable/ZarnCleaner-$version-x64" && ls -1 | LC_ALL=C sort | tr '\n' '|')" \
  "LICENSE.txt|README.txt|THIRD-PARTY-NOTICES.txt|ZarnCleaner.exe|"
listing >"$work/before-portable.txt"
wine "$(winpath "$portable/ZarnCleaner-$version-x64/ZarnCleaner.exe")" </dev/null &
check "portable program shows page 1" probe page1 30
wait
listing >"$work/after-portable.txt"
check "portable program wrote nothing" diff "$work/before-portable.txt" "$work/after-portable.txt"

echo "installer: $checks checks, $failed failed"
[ "$failed" -eq 0 ]
