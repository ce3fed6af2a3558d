# shellcheck shell=bash
# Installing from Debian's archive, the one way every script does it, and the one list of what
# the scripts install. Sourced; installing runs as root.
#
# A mirror caught half-way through a sync serves an index that fails its checksum: apt-get update
# then exits non-zero although every other index arrived. The update is tried again, and a
# failure after that is a warning, not the end: apt keeps the indexes it has. An index that
# stayed stale (typically the security archive's i386 one) leaves the resolver unable to pair
# an amd64 library with its i386 twin; the install is then tried again with the release's own
# versions, which both architectures have.

# The packages by what they are for, each named once. A script asks for the groups it needs
# (apt_need); one line per group.
declare -gA apt_groups=(
  # What a minimal Debian lacks that the scripts call: ps for wineserver's and Xvfb's helpers,
  # the certificates for an https mirror.
  [base]="ca-certificates procps"
  [build]="cmake ninja-build make gcc libc6-dev dpkg-dev googletest python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix"
  [sqlite]="tcl"  # SQLite's amalgamation is made by a Tcl script
  # wine32 is the 32-bit loader, for machines that run 32-bit code (elsewhere installed but
  # unused); fonts-wine is Wine's Tahoma, the dialog font.
  [wine]="wine wine64 wine32:i386 fonts-wine"
  [screen]="xvfb xauth xdotool"
  [pictures]="imagemagick fonts-dejavu-core"  # the assets, the screenshots' crops
  [installer]="nsis zip unzip"
  [plot]="gnuplot-nox"
)
# What building and running the program needs (setup.sh); a script adds its own groups.
# shellcheck disable=SC2034  # read by the scripts that source this file
apt_setup_groups=(base build sqlite wine screen pictures)

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

# apt_update: updates the indexes once per run (the scripts that a run starts share it), with a
# source entry beside every package entry: the libraries are built from Debian's source packages.
# `apt_update again` updates once more, after the sources changed.
apt_update() {
  if [ -n "${ZARN_APT_UPDATED:-}" ] && [ "${1:-}" != again ]; then return 0; fi
  export ZARN_APT_UPDATED=1
  enable_source_entries >/dev/null
  local try
  for try in 1 2 3; do
    if apt-get update -qq; then return 0; fi
    echo "apt-get update failed (try $try of 3)" >&2
    sleep $((try * 5))
  done
  echo "apt-get update: going on with the indexes apt has" >&2
}

# apt_install PACKAGE...: installs the PACKAGEs (updating the indexes first, once per run).
apt_install() {
  [ $# -gt 0 ] || return 0
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  if apt-get install -y -qq --no-install-recommends "$@" >/dev/null; then return 0; fi
  local release
  release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [ -n "$release" ] || return 1
  echo "apt-get install failed; trying again with $release's own versions" >&2
  apt-get install -y -qq --no-install-recommends -t "$release" "$@" >/dev/null
}

# apt_need NAME...: installs, in one go, what is missing of the NAMEs: groups of apt_groups,
# or single packages.
apt_need() {
  local name p packages=() missing=()
  for name in "$@"; do
    if [ -n "${apt_groups[$name]+set}" ]; then
      read -ra p <<<"${apt_groups[$name]}"
      packages+=("${p[@]}")
    else
      packages+=("$name")
    fi
  done
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q ' installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt_update again
  fi
  echo "installing ${missing[*]}"
  apt_install "${missing[@]}"
}
