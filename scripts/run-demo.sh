#!/usr/bin/env bash
# Installs what is missing, builds, and starts the cleaner under Wine in a throwaway demo
# prefix seeded with sample traces, so nothing of a real profile is touched.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
"$repo/scripts/setup.sh"

export WINEPREFIX="$repo/build/wineprefix-demo" WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
"$repo/scripts/seed-demo.sh"

if [ -n "${DISPLAY:-}" ]; then
  wine "$repo/build/ZarnCleaner.exe"
else
  echo "No DISPLAY: running on a virtual X server (Xvfb); use scripts/screenshot.sh to see it."
  xvfb-run -a -s "-screen 0 1024x768x24" wine "$repo/build/ZarnCleaner.exe"
fi
