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

# Reads a rewritten sources file on standard input, with the number of changes the awk
# program wrote to its standard error in "$1.count"; replaces "$1" only when something
# changed. Prints the number of changes.
apply_rewrite() {
  local file="$1" count
  cat >"$file.new"
  count="$(cat "$file.count")"
  rm -f "$file.count"
  if [ "$count" -gt 0 ]; then
    cat "$file.new" >"$file"
  fi
  rm -f "$file.new"
  echo "$count"
}

# Adds deb-src to every deb822 stanza whose Types line lacks it. Prints the number of changes.
enable_deb822_sources() {
  local file="$1"
  awk '
    /^[Tt]ypes:/ {
      if ($0 !~ /deb-src/) { sub(/[[:space:]]*$/, ""); $0 = $0 " deb-src"; changed++ }
    }
    { print }
    END { print changed + 0 > "/dev/stderr" }
  ' "$file" 2>"$file.count" | apply_rewrite "$file"
}

# Adds a deb-src twin after every one-line "deb" entry that has none (entries compared without
# their [options]). Prints the number of changes.
enable_list_sources() {
  local file="$1"
  awk '
    function key(line) {
      sub(/^[[:space:]]*deb(-src)?[[:space:]]+/, "", line)
      sub(/^\[[^]]*\][[:space:]]*/, "", line)
      gsub(/[[:space:]]+/, " ", line)
      sub(/ $/, "", line)
      return line
    }
    { lines[NR] = $0 }
    /^[[:space:]]*deb-src[[:space:]]/ { have[key($0)] = 1 }
    END {
      changed = 0
      for (i = 1; i <= NR; i++) {
        print lines[i]
        if (lines[i] ~ /^[[:space:]]*deb[[:space:]]/) {
          k = key(lines[i])
          if (!(k in have)) {
            s = lines[i]; sub(/^[[:space:]]*deb/, "deb-src", s)
            print s; have[k] = 1; changed++
          }
        }
      }
      print changed > "/dev/stderr"
    }
  ' "$file" 2>"$file.count" | apply_rewrite "$file"
}

# Enables a deb-src entry beside every deb entry of apt's sources. Prints the number added.
enable_source_entries() {
  local added=0 n f
  shopt -s nullglob
  for f in /etc/apt/sources.list.d/*.sources; do
    n="$(enable_deb822_sources "$f")"
    added=$((added + n))
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    n="$(enable_list_sources "$f")"
    added=$((added + n))
  done
  shopt -u nullglob
  echo "$added"
}

# Stops the calling script unless it runs as root.
deb_source_require_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$(basename "$0"): must run as root (it installs packages and enables source entries)" >&2
    exit 1
  fi
}

# deb_source_prepare LABEL SOURCE PACKAGE...: enables the source entries, updates apt's
# indexes when they are new or lack SOURCE, and installs the PACKAGEs that are missing.
# LABEL starts the lines it prints.
deb_source_prepare() {
  local label="$1" source="$2" added p
  shift 2
  export DEBIAN_FRONTEND=noninteractive
  added="$(enable_source_entries)"
  local need_pkgs=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$p")
  done
  # Source entries that were already there may still lack downloaded indexes (fresh images).
  if [ "$added" -gt 0 ] || ! apt-cache showsrc "$source" 2>/dev/null | grep -q '^Package:' \
     || [ "${#need_pkgs[@]}" -gt 0 ]; then
    echo "$label: apt-get update"
    apt_update
  fi
  if [ "${#need_pkgs[@]}" -gt 0 ]; then
    echo "$label: installing ${need_pkgs[*]}"
    apt_install "${need_pkgs[@]}"
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
