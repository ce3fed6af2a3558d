#!/usr/bin/env bash
# Installs what is missing, builds, and starts the cleaner under Wine in a throwaway demo
# prefix seeded with sample traces, so nothing of a real profile is touched.
# The x64 build in a 64-bit prefix; ZARN_ARCH=x86 runs the x86 one where 32-bit code runs.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"
apt_need "${apt_setup_groups[@]}"
decide_32bit
arch="$(chosen_arch)"
"$repo/scripts/setup.sh" "$arch"
demo_wine "$repo" "$arch"
"$repo/scripts/seed-demo.sh"

exe="$(arch_build_dir "$repo" "$arch")/ZarnCleaner.exe"
if [ -n "${DISPLAY:-}" ]; then
  wine "$exe"
else
  echo "No DISPLAY: running on a virtual X server (Xvfb); use scripts/screenshot.sh to see it."
  xvfb-run -a -s "-screen 0 1024x768x24" wine "$exe"
fi
