#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt from the copyright files of the Debian packages whose code
ZarnCleaner.exe links statically, so that the texts are the packages' own, word for word.

  make-notices.py            rewrite THIRD-PARTY-NOTICES.txt
  make-notices.py --check    exit 1 if the file differs from what the copyright files give

Which pieces are linked was read from the linker's map (-Wl,-Map): libjpeg's decoder; from
MinGW-w64 the CRT start-up (crt2.o, libmingw32), the printf and strtod family of libmingwex
(mingw_pformat, gdtoa) and winpthreads; from GCC libstdc++, libgcc and libgcc_eh. SQLite is
one object, compiled from the amalgamation that build-sqlite.sh generates. LevelDB, Snappy and
libpsl (with the Public Suffix List of Debian's publicsuffix package built in) are compiled
by build-leveldb.sh, build-snappy.sh and build-libpsl.sh from their source packages.
"""
import glob
import gzip
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MINGW = "/usr/share/doc/mingw-w64-i686-dev/copyright"
GCC = "/usr/share/doc/gcc-mingw-w64-i686-posix-runtime/copyright"
# The x64 build links the same sources from the x86-64 packages; one notice serves both builds
# while their copyright files say the same.
SAME_AS = {
    MINGW: "/usr/share/doc/mingw-w64-x86-64-dev/copyright",
    GCC: "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright",
}


def libjpeg_copyright():
    # The release builds libjpeg from the source package that build-libjpeg.sh fetches.
    found = sorted(glob.glob(os.path.join(REPO, ".deps/src/libjpeg-turbo-*/debian/copyright")))
    if found:
        return found[-1]
    return "/usr/share/doc/libjpeg62-turbo/copyright"


def sqlite_source():
    # SQLite's words on its license are in its source tree only, not in a binary package's
    # documentation: the notices need the tree that build-sqlite.sh fetches.
    found = sorted(glob.glob(os.path.join(REPO, ".deps/src/sqlite3-*/LICENSE.md")))
    if not found:
        raise SystemExit("no SQLite sources under .deps/src: run scripts/build-sqlite.sh first")
    return os.path.dirname(found[-1])


def source_tree(name, marker):
    """The unpacked source package NAME that its build script fetched."""
    found = sorted(glob.glob(os.path.join(REPO, f".deps/src/{name}-*/{marker}")))
    if not found:
        raise SystemExit(f"no {name} sources under .deps/src: run scripts/build-{name}.sh first")
    return found[-1][: -len(marker) - 1]


# The list libpsl is built with comes from the binary package, which build-libpsl.sh installs.
PUBLICSUFFIX = "/usr/share/doc/publicsuffix"


def installed_version(doc_dir):
    """The version of an installed package, from the first line of its Debian changelog."""
    with gzip.open(os.path.join(doc_dir, "changelog.Debian.gz"), "rt", encoding="utf-8") as f:
        first = f.readline()
    return first[first.index("(") + 1:first.index(")")]


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def debian_version(source_dir):
    """The version of the source package, from the first line of its changelog."""
    first = read(os.path.join(source_dir, "debian/changelog")).split("\n", 1)[0]
    return first[first.index("(") + 1:first.index(")")]


def paragraphs(path):
    """The machine-readable copyright file's paragraphs, as lists of lines."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    out, cur = [], []
    for line in text.split("\n"):
        if line.strip() == "":
            if cur:
                out.append(cur)
            cur = []
        else:
            cur.append(line)
    if cur:
        out.append(cur)
    return out


def field(par, name):
    """A field's first line and its continuation lines, as written."""
    lines, inside = [], False
    for line in par:
        if line.startswith(name + ":"):
            inside = True
            lines.append(line[len(name) + 1:].strip())
        elif inside and line[:1] in (" ", "\t"):
            lines.append(line.strip())
        elif inside:
            break
    return [l for l in lines if l]


def body(par, name):
    """The text of a "License: NAME" field, with the file format's indentation and dots undone."""
    lines, inside = [], False
    for line in par:
        if line.startswith(name + ":"):
            inside = True
        elif inside and line[:1] in (" ", "\t"):
            l = line[1:].rstrip()
            lines.append("" if l == "." else l)
        elif inside:
            break
    return "\n".join(lines)


def license_text(path, name):
    for par in paragraphs(path):
        for i, line in enumerate(par[:-1]):
            if line == "License: " + name and par[i + 1][:1] == " ":
                return body(par[i:], "License")
    raise SystemExit(f"{path}: no text for license {name}")


def files_paragraph(path, first_pattern):
    for par in paragraphs(path):
        files = field(par, "Files")
        if files and files[0] == first_pattern:
            return field(par, "Copyright"), field(par, "License")[0]
    raise SystemExit(f"{path}: no Files paragraph starting with {first_pattern}")


def between(path, first, last):
    """The plain-text lines from the one starting with FIRST to the one starting with LAST."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    start = next(i for i, l in enumerate(lines) if l.startswith(first))
    end = next(i for i in range(start, len(lines)) if lines[i].startswith(last))
    return "\n".join(l.rstrip() for l in lines[start:end + 1])


def heading(text, underline):
    return f"{text}\n{underline * len(text)}\n"


def piece(path, first_pattern, what):
    holders, name = files_paragraph(path, first_pattern)
    out = [f"{what}", "", "Copyright: " + "\n           ".join(holders), f"License: {name}", ""]
    return "\n".join(out)


def notices():
    jpeg = libjpeg_copyright()
    parts = []
    parts.append(heading("Zarn Cleaner: third-party notices", "="))
    parts.append(
        "ZarnCleaner.exe contains code from the libraries below, linked into it when it is\n"
        "built. Their copyright notices and licenses follow, as Debian 12 ships them in the\n"
        "copyright files of the packages the program is built from: libjpeg-turbo, sqlite3,\n"
        "leveldb, snappy, libpsl, publicsuffix, mingw-w64 (mingw-w64-i686-dev) and\n"
        "gcc-mingw-w64 (gcc-mingw-w64-i686-posix-runtime).\n"
        "Zarn Cleaner's own license is in LICENSE.txt.\n")

    parts.append(heading("1. libjpeg-turbo (JPEG decoding of the pictures)", "-"))
    parts.append("This software is based in part on the work of the Independent JPEG Group.\n")
    parts.append(piece(jpeg, "BUILDING.md", "libjpeg-turbo, including the IJG's libjpeg:"))
    parts.append(heading("libjpeg-turbo: the IJG license (BSD-BY-LC-NE), with the BSD terms of libjpeg-turbo", "~"))
    parts.append(license_text(jpeg, "BSD-BY-LC-NE") + "\n")
    parts.append(heading("libjpeg-turbo: BSD-3-clause", "~"))
    parts.append(license_text(jpeg, "BSD-3-clause") + "\n")
    parts.append(heading("libjpeg-turbo: zlib license", "~"))
    parts.append(license_text(jpeg, "Zlib") + "\n")

    sqlite = sqlite_source()
    sqlite_copyright = os.path.join(sqlite, "debian/copyright")
    parts.append(heading("2. SQLite (reading and cleaning the browsers' databases)", "-"))
    parts.append(piece(sqlite_copyright, "*", f"SQLite {read(os.path.join(sqlite, 'VERSION')).strip()}, "
                       f"from Debian's sqlite3 {debian_version(sqlite)} source package:"))
    parts.append(license_text(sqlite_copyright, "public-domain") + "\n")
    parts.append("SQLite's own words on its license (LICENSE.md):\n")
    parts.append(read(os.path.join(sqlite, "LICENSE.md")).rstrip() + "\n")

    leveldb = source_tree("leveldb", "helpers/memenv/memenv.cc")
    parts.append(heading("3. LevelDB (reading and cleaning the browsers' LevelDB stores)", "-"))
    parts.append(piece(os.path.join(leveldb, "debian/copyright"), "*",
                       f"LevelDB, with its in-memory environment, from Debian's leveldb {debian_version(leveldb)} "
                       "source package:"))
    parts.append(license_text(os.path.join(leveldb, "debian/copyright"), "BSD-3-clause") + "\n")

    snappy = source_tree("snappy", "snappy-stubs-public.h.in")
    parts.append(heading("4. Snappy (the compression of the LevelDB stores' tables)", "-"))
    parts.append(piece(os.path.join(snappy, "debian/copyright"), "*",
                       f"Snappy, from Debian's snappy {debian_version(snappy)} source package:"))
    parts.append(license_text(os.path.join(snappy, "debian/copyright"), "BSD-3-Clause") + "\n")

    psl = source_tree("libpsl", "src/psl-make-dafsa")
    psl_copyright = os.path.join(psl, "debian/copyright")
    list_copyright = os.path.join(PUBLICSUFFIX, "copyright")
    parts.append(heading("5. libpsl and the Public Suffix List (which site a host belongs to)", "-"))
    parts.append(piece(psl_copyright, "*", f"libpsl, from Debian's libpsl {debian_version(psl)} source package:"))
    parts.append(license_text(psl_copyright, "MIT") + "\n")
    parts.append(piece(psl_copyright, "src/psl-make-dafsa src/lookup_string_in_fixed_set.c",
                       "libpsl's lookup in the compiled list (src/lookup_string_in_fixed_set.c) and the\n"
                       "compiler of the list (src/psl-make-dafsa):"))
    parts.append(license_text(psl_copyright, "Chromium") + "\n")
    source = next(l for l in read(list_copyright).split("\n") if l.startswith("Source:"))[len("Source:"):].strip()
    parts.append(piece(list_copyright, "*",
                       f"The Public Suffix List, compiled into the program from public_suffix_list.dat of\n"
                       f"Debian's publicsuffix {installed_version(PUBLICSUFFIX)} package. Its source form is that\n"
                       f"file, and the list's own site: {source}"))
    parts.append(license_text(list_copyright, "MPL-2.0") + "\n")

    parts.append(heading("6. MinGW-w64 runtime (program start-up, C library pieces, winpthreads)", "-"))
    # The runtime's pieces: the files a license covers, what they are, and the license.
    for files, what, license in (
        ("*", "The mingw-w64 runtime as a whole:", "ZPL-2.1"),
        ("mingw-w64-crt/crt/*", "The CRT start-up code (mingw-w64-crt/crt and others):", "public-domain"),
        ("mingw-w64-crt/gdtoa/*", "Number conversion (mingw-w64-crt/gdtoa):", "Lucent"),
        ("mingw-w64-crt/misc/basename.c",
         "Formatted output (mingw-w64-crt/stdio/mingw_pformat and others):", "Keith-Marshall"),
        ("mingw-w64-libraries/winpthreads/*", "winpthreads:", "expat"),
        ("mingw-w64-libraries/winpthreads/include/pthread.h", "winpthreads' pthread.h:", "BSD-3-clause-Lockless"),
    ):
        parts.append(piece(MINGW, files, what))
        parts.append(license_text(MINGW, license) + "\n")

    parts.append(heading("7. GCC runtime libraries (libstdc++, libgcc)", "-"))
    parts.append(between(GCC, "GCC is Copyright (C)", "license in `/usr/share/common-licenses/GPL-3'.") + "\n")
    parts.append(between(GCC, "The following runtime libraries are licensed", " - libvtv") + "\n")
    parts.append(between(GCC, "GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC.") + "\n")
    return "\n".join(parts)


def same_for_both_builds():
    for x86, x64 in SAME_AS.items():
        if not os.path.exists(x64):
            continue
        with open(x86, "rb") as a, open(x64, "rb") as b:
            if a.read() != b.read():
                print(f"{x64} differs from {x86}: the x64 build needs notices of its own", file=sys.stderr)
                return False
    return True


def main():
    target = os.path.join(REPO, "THIRD-PARTY-NOTICES.txt")
    if not same_for_both_builds():
        return 1
    text = notices()
    if "--check" in sys.argv[1:]:
        with open(target, encoding="utf-8") as f:
            if f.read() != text:
                print("THIRD-PARTY-NOTICES.txt differs from the packages' copyright files: "
                      "run scripts/make-notices.py and review the change", file=sys.stderr)
                return 1
        return 0
    with open(target, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
