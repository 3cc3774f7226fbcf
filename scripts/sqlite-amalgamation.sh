#!/usr/bin/env bash
# Makes SQLite's amalgamation (sqlite3.c, sqlite3.h) from Debian's source
# package of sqlite3 in the folder DIR, which the Windows build compiles with
# the cross compiler (cmake/sqlite3_from_source.cmake). The version is that of Debian's
# libsqlite3-dev installed here, the native build's, so both builds run the
# same SQLite (the newest source apt offers when it is not installed).
#
#   scripts/sqlite-amalgamation.sh DIR
#
# DIR keeps the amalgamation and the downloaded source package: a second run
# for the same version does nothing, one for a new version downloads only what
# changed. Needs a deb-src entry (scripts/add-deb-src.sh), dpkg-dev
# (dpkg-source unpacks the package and applies Debian's patches) and tcl
# (SQLite's build runs tclsh to generate the amalgamation).
set -euo pipefail
dir=$(realpath -m "$1")
version=$(dpkg-query -W -f='${source:Version}' libsqlite3-dev 2>/dev/null || true)
[[ -n "$version" ]] ||
  version=$(apt-cache showsrc sqlite3 | sed -n 's/^Version: //p' | sort -V | tail -n 1)
[[ -n "$version" ]] || { echo "sqlite-amalgamation.sh: apt knows no source of sqlite3" >&2; exit 1; }
mkdir -p "$dir/download"
# Both bitnesses' configure steps may run at once: one makes, the other waits.
exec 9>"$dir/.lock"
flock 9
if [[ -f "$dir/sqlite3.c" && -f "$dir/sqlite3.h" && "$(cat "$dir/VERSION" 2>/dev/null)" == "$version" ]]; then
  exit 0
fi
echo "sqlite-amalgamation.sh: SQLite $version from Debian's source package"
work=$(mktemp -d "$dir/work.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Files already in download/ with the right checksums are not fetched again.
(cd "$dir/download" && apt-get source --download-only "sqlite3=$version" >/dev/null)
no_epoch=${version#*:}
# apt checked every file against the archive's signed index; dpkg-source
# applies Debian's patches.
dpkg-source --no-check -x "$dir/download/sqlite3_$no_epoch.dsc" "$work/source" >/dev/null
mkdir "$work/build"
(cd "$work/build" && "$work/source/configure" --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$dir/"
echo "$version" >"$dir/VERSION"
# Older versions' files are no longer needed.
find "$dir/download" -type f ! -name "sqlite3_$no_epoch*" ! -name "sqlite3_${no_epoch%-*}.orig*" -delete
