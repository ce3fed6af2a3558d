# shellcheck shell=bash
# What the scripts that cross-build a dependency from a Debian source package share
# (build-libjpeg.sh, build-sqlite.sh): where its files go, and bringing the source package onto
# the machine. Sourced; the functions that touch apt expect to run as root on Debian 12.

# shellcheck source=scripts/apt.sh
. "$(dirname "${BASH_SOURCE[0]}")/apt.sh"

# dep_layout NAME ARCH: the folders of dependency NAME built for ARCH, set as variables: deps
# (the repo's .deps), srcroot (the unpacked source packages), prefix (.deps/ARCH/NAME, whose
# include/ and lib/ CMake links) and builddir (the scratch build).
# shellcheck disable=SC2034  # the variables are the caller's
dep_layout() {
  deps="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/.deps"
  srcroot="$deps/src"
  prefix="$deps/$2/$1"
  builddir="$deps/build-$1-$2"
}

# dep_reuse LABEL FILE...: ends the script when every FILE below prefix is there from an
# earlier run.
dep_reuse() {
  local label="$1" f
  shift
  for f in "$@"; do
    [ -f "$prefix/$f" ] || return 0
  done
  echo "$label: already built in $prefix"
  exit 0
}

# Stops the calling script unless it runs as root.
deb_source_require_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$(basename "$0"): must run as root (it installs packages and enables source entries)" >&2
    exit 1
  fi
}

# deb_source_prepare LABEL SOURCE NAME...: installs what is missing of the NAMEs (package groups
# of apt.sh, or packages) and makes sure apt knows the source package SOURCE: the source entries
# go in with the first update of a run (apt_update), so only a machine whose entries or indexes
# lack it updates here. LABEL starts the lines it prints.
deb_source_prepare() {
  local label="$1" source="$2" added
  shift 2
  apt_need "$@"
  added="$(enable_source_entries)"
  if [ "$added" -gt 0 ] || ! apt-cache showsrc "$source" 2>/dev/null | grep -q '^Package:'; then
    echo "$label: apt-get update, for the $source source package"
    apt_update again
  fi
}

# deb_source_dir SRCROOT SOURCE MARKER: the newest unpacked SOURCE-VERSION folder in SRCROOT
# that holds the file MARKER; nothing when there is none.
deb_source_dir() {
  local srcroot="$1" source="$2" marker="$3" dir
  dir="$(find "$srcroot" -mindepth 1 -maxdepth 1 -type d -name "$source-*" 2>/dev/null | sort | tail -n 1)"
  if [ -n "$dir" ] && [ -f "$dir/$marker" ]; then
    echo "$dir"
  fi
}

# deb_source_fetch LABEL SRCROOT SOURCE MARKER: unpacks the source package SOURCE into SRCROOT
# unless deb_source_dir finds it there already; stops the script when it is still not found.
# apt-get source unpacks with dpkg-source -x, which applies Debian's patches.
deb_source_fetch() {
  local label="$1" srcroot="$2" source="$3" marker="$4"
  mkdir -p "$srcroot"
  [ -z "$(deb_source_dir "$srcroot" "$source" "$marker")" ] || return 0
  echo "$label: fetching the $source source package"
  # apt drops privileges to _apt for downloads; the folder must be reachable for it.
  chmod 0755 "$(dirname "$srcroot")" "$srcroot"
  (cd "$srcroot" && apt-get source -qq "$source" 2>&1 >/dev/null | grep -v 'unsandboxed as root' >&2 || true)
  if [ -z "$(deb_source_dir "$srcroot" "$source" "$marker")" ]; then
    echo "$(basename "$0"): $source sources not found under $srcroot" >&2
    exit 1
  fi
}
