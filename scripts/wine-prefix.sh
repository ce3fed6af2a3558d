# shellcheck shell=bash
# Making a Wine prefix, the one way every script does it: the tests, the installer test, the
# benchmark, the demo and the screenshots. Sourced; the functions run inside an X server, with
# WINEPREFIX and WINEARCH set and the build's Wine wrappers (arch.sh's make_wine_bin) first on
# PATH. Needs nothing of the clone but this file, so another Unix user can source a copy.

# wine_prefix_new [managed]: makes $WINEPREFIX afresh and waits until Wine has written it.
# Without a window manager Wine waits two seconds for every hidden managed window, so the
# windows are unmanaged unless `managed` is asked for (a demo on a real desktop).
wine_prefix_new() {
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  if [ "${1:-}" != managed ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  wineserver -w
  wine_prefix_fonts
}

# wine_prefix_fonts: Wine's own fonts in the prefix's font folder, where Windows keeps them.
# Debian's Wine 8 looks for them in a folder it cannot open (its data folder joined with a
# "/": an invalid name to the NT path lookup), and fontconfig does not list fonts-wine's folder,
# so without this every window is drawn in DejaVu Sans instead of Tahoma: wider, it cuts the
# wizard's texts. The prefix's own font folder is read first, on every start.
wine_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  [ -d "$fonts" ] || return 0
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -f "$font" ] && [ ! -e "$fonts/${font##*/}" ] && cp "$font" "$fonts/"
  done
  return 0
}

# wine_prefix_serve: one wineserver for the rest of the caller's run, and the prefix's
# background services started now: started by the first program, they would inherit its output
# and keep whoever reads it (CTest) waiting for it to close.
wine_prefix_serve() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}
