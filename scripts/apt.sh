# shellcheck shell=bash
# Installing from Debian's archive, the one way every script does it. Sourced; runs as root.
#
# A mirror caught half-way through a sync serves an index that fails its checksum: apt-get update
# then exits non-zero although every other index arrived. The update is tried again, and a
# failure after that is a warning, not the end: apt keeps the indexes it has. An index that
# stayed stale (typically the security archive's i386 one) leaves the resolver unable to pair
# an amd64 library with its i386 twin; the install is then tried again with the release's own
# versions, which both architectures have.

apt_update() {
  local try
  for try in 1 2 3; do
    if apt-get update -qq; then return 0; fi
    echo "apt-get update failed (try $try of 3)" >&2
    sleep $((try * 5))
  done
  echo "apt-get update: going on with the indexes apt has" >&2
}

# apt_install PACKAGE...: installs the PACKAGEs (updating the indexes first).
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
