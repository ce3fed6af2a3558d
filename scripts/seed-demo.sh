#!/usr/bin/env bash
# Makes $WINEPREFIX (once) and lays sample traces into it for the demo and the screenshots.
# The caller puts the Wine of the build it runs first on PATH and sets WINEARCH (win64 for the
# x64 build, win32 for the x86 one).
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the demo prefix}"
export WINEDEBUG=-all WINEARCH="${WINEARCH:-win64}"

run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a "$@"; fi; }
prelude="$(dirname "$0")/wine-prefix.sh"
# shellcheck source=scripts/wine-prefix.sh
. "$prelude"
# Managed by the desktop's window manager, as the demo runs on a real display.
if [ ! -f "$WINEPREFIX/.zarn-demo-$WINEARCH" ]; then
  run bash -c '. "$0"; wine_prefix_new managed' "$prelude"
  touch "$WINEPREFIX/.zarn-demo-$WINEARCH"
fi
# A demo prefix made before the fonts went into every prefix gets them too.
wine_prefix_fonts

# The traces are laid anew every time: a demo run may have cleaned them.
{
  user="$(whoami)"
  c="$WINEPREFIX/drive_c"
  home="$c/users/$user"
  roaming="$home/AppData/Roaming"
  local="$home/AppData/Local"
  ls="$home/Local Settings"
  mkdir -p "$roaming/Microsoft/Windows/Recent" "$local/Microsoft/Windows/INetCookies" \
    "$local/Microsoft/Windows/INetCache/Content.IE5/K3J8Q2ZA" "$ls/Temp" "$c/windows/Temp" \
    "$roaming/Opera/Opera/profile/cache4" "$roaming/Opera/Opera/profile/sessions" \
    "$roaming/Microsoft/Office/Recent" "$roaming/Mozilla/Firefox/Profiles/k8s2fj3x.default" \
    "$local/Mozilla/Firefox/Profiles/k8s2fj3x.default/Cache"
  for f in "Holiday photos.lnk" "Budget 2008.xls.lnk" "Letter to Anna.doc.lnk"; do
    head -c 700 /dev/urandom > "$roaming/Microsoft/Windows/Recent/$f"
  done
  for f in "user@doubleclick[1].txt" "user@ads.example[2].txt" "user@news[1].txt"; do
    echo cookie > "$local/Microsoft/Windows/INetCookies/$f"
  done
  head -c 40000 /dev/urandom > "$local/Microsoft/Windows/INetCache/Content.IE5/K3J8Q2ZA/logo[1].gif"
  head -c 9000 /dev/urandom > "$local/Microsoft/Windows/INetCache/Content.IE5/K3J8Q2ZA/index[1].htm"
  head -c 12000 /dev/urandom > "$ls/Temp/~DF3A21.tmp"
  head -c 3000 /dev/urandom > "$c/windows/Temp/setup01.tmp"
  echo "2008-01-01 install ok" > "$c/windows/setupapi.log"
  head -c 5000 /dev/urandom > "$roaming/Opera/Opera/profile/cookies4.dat"
  head -c 2000 /dev/urandom > "$roaming/Opera/Opera/profile/global.dat"
  head -c 30000 /dev/urandom > "$roaming/Opera/Opera/profile/cache4/opr00001.tmp"
  echo session > "$roaming/Opera/Opera/profile/sessions/autosave.win"
  head -c 800 /dev/urandom > "$roaming/Microsoft/Office/Recent/Report.doc.LNK"
  printf '[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/k8s2fj3x.default\r\nDefault=1\r\n' \
    > "$roaming/Mozilla/Firefox/profiles.ini"
  head -c 70000 /dev/urandom > "$roaming/Mozilla/Firefox/Profiles/k8s2fj3x.default/history.dat"
  for i in 1 2 3 4; do head -c $((i * 3000)) /dev/urandom > "$local/Mozilla/Firefox/Profiles/k8s2fj3x.default/Cache/0${i}A3F2C1d01"; done
  # Today's Firefox keeps its cookies and its history, bookmarks beside it, in databases: a few
  # sites and a bookmarked page, laid out with Firefox's own table and column names.
  python3 - "$roaming/Mozilla/Firefox/Profiles/k8s2fj3x.default" <<'PY'
import os, sqlite3, sys
profile = sys.argv[1]
for name in ("cookies.sqlite", "places.sqlite"):
    if os.path.exists(os.path.join(profile, name)):
        os.remove(os.path.join(profile, name))
db = sqlite3.connect(os.path.join(profile, "cookies.sqlite"))
db.execute("CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', "
           "name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, "
           "creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER)")
for host, count in ((".doubleclick.net", 3), ("mail.example.com", 2), (".example.com", 1), (".news.example.org", 4)):
    for i in range(count):
        db.execute("INSERT INTO moz_cookies (name, value, host, path) VALUES (?, 'v', ?, '/')", ("c%d" % i, host))
db.commit()
db.close()
db = sqlite3.connect(os.path.join(profile, "places.sqlite"))
db.executescript('''
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, foreign_count INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
  visit_type INTEGER);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR);
INSERT INTO moz_places VALUES (1, 'https://www.example.com/', 'Example', 3, 100, 1199145600000000, 1),
  (2, 'https://news.example.org/today', 'News', 2, 50, 1199232000000000, 0);
INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES (1, 1199145600000000, 1),
  (1, 1199145700000000, 1), (1, 1199145800000000, 1), (2, 1199232000000000, 1), (2, 1199232100000000, 1);
INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, ''), (2, 1, 1, 1, 0, 'Example');
''')
db.close()
PY

  reg="$WINEPREFIX/zarn-demo.reg"
  cat > "$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]
"Local Settings"="C:\\\\users\\\\$user\\\\Local Settings"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]
"a"="notepad\\\\1"
"b"="regedit\\\\1"
"c"="\\\\\\\\fileserver\\\\share\\\\1"
"MRUList"="cba"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Search Assistant\\ACMru\\5603]
"000"="*.doc"
"001"="holiday"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt]
"a"="C:\\\\notes\\\\todo.txt"
"MRUList"="a"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]
"url1"="http://www.example.com/"
"url2"="http://news.example.org/today"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer]
"Download Directory"="C:\\\\users\\\\$user\\\\Downloads"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List]
"File1"="C:\\\\letters\\\\anna.rtf"
"File2"="C:\\\\letters\\\\bank.rtf"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit]
"LastKey"="My Computer\\\\HKEY_CURRENT_USER\\\\Software"

[HKEY_CURRENT_USER\\Software\\Opera Software]
"Last Directory3"="C:\\\\"

[HKEY_LOCAL_MACHINE\\Software\\Mozilla]

[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files]
"File1"="C:\\\\budget\\\\2008.xls"
"File2"="C:\\\\budget\\\\2007.xls"

[HKEY_CURRENT_USER\\Software\\Macromedia\\Flash 7\\Recent File List]
"File1"="C:\\\\flash\\\\intro.fla"
"MRUList"="a"

[HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList]
"File0"="C:\\\\music\\\\song.mp3"
"File1"="C:\\\\video\\\\trip.avi"
REG
  run wine regedit /S "$reg" >/dev/null 2>&1 || true
  wineserver -w || true
}
