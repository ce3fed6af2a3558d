# shellcheck shell=bash
# Compiling a dependency's sources straight with the cross compiler, two at a time, into one
# static library (build-snappy.sh, build-leveldb.sh, build-libpsl.sh): a library whose own
# build would probe the compiler for a minute is built in seconds from the sources it names.
# Sourced after deb-source.sh and dep_layout, whose builddir it uses.

# dep_compile COMPILER LIBRARY FLAGS... -- SOURCE...: compiles every SOURCE with COMPILER and
# FLAGS into builddir, and archives the objects into builddir/LIBRARY. The compiler's output
# goes to builddir.log; on a failure its end is shown and the script stops.
dep_compile() {
  local compiler="$1" library="$2" triplet
  shift 2
  local flags=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    flags+=("$1")
    shift
  done
  shift
  triplet="${compiler%-*-posix}"
  mkdir -p "$builddir/obj"
  # One object per source, named after its path, so that two sources of one name do not clash.
  printf '%s\n' "$@" | xargs -P 2 -I{} sh -c '
    src="$1"; shift; compiler="$1"; shift; obj="$1"; shift
    "$compiler" "$@" -c "$src" -o "$obj/$(echo "$src" | tr / _).o"
  ' _ {} "$compiler" "$builddir/obj" "${flags[@]}" >>"$builddir.log" 2>&1 \
    || { tail -n 50 "$builddir.log" >&2; exit 1; }
  rm -f "$builddir/$library"
  "$triplet-ar" rcsD "$builddir/$library" "$builddir"/obj/*.o
}
