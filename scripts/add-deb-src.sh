#!/usr/bin/env bash
# Lets apt fetch Debian source packages (`apt-get source`), which the Windows
# build takes SQLite from: adds a deb-src entry for every Debian archive the
# machine installs binary packages from, unless one is there already, and
# refreshes the package lists. Idempotent; other archives are left out.
set -euo pipefail
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
has_sources() { apt-cache showsrc sqlite3 2>/dev/null | grep -q '^Package: sqlite3$'; }
has_sources && exit 0
if grep -qsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list \
     /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
  $sudo apt-get -o DPkg::Lock::Timeout=600 update
  has_sources && exit 0
  echo "add-deb-src.sh: apt has a deb-src entry but no source of sqlite3" >&2
  exit 1
fi
# deb822 stanzas (*.sources) of a Debian archive, as deb-src.
sources=$(awk '
  function flush() { if (stanza != "" && debian && binary && enabled) printf "%s\n", stanza; stanza = ""; debian = 0; binary = 0; enabled = 1 }
  BEGIN { enabled = 1 }
  /^[[:space:]]*$/ { flush(); next }
  /^#/ { next }
  /^Types:/ { binary = ($0 ~ /[[:space:]]deb([[:space:]]|$)/); stanza = stanza "Types: deb-src\n"; next }
  /^Enabled:[[:space:]]*no/ { enabled = 0 }
  /^URIs:/ { debian = ($0 ~ /debian/) }
  { stanza = stanza $0 "\n" }
  END { flush() }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
# One-line entries (*.list) of a Debian archive, as deb-src.
lines=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        sed -nE 's/^[[:space:]]*deb([[:space:]].*debian.*)$/deb-src\1/p' || true)
if [[ -z "$sources" && -z "$lines" ]]; then
  echo "add-deb-src.sh: no Debian archive in apt's sources; add a deb-src entry by hand" >&2
  exit 1
fi
[[ -n "$sources" ]] && printf '%s\n' "$sources" | $sudo tee /etc/apt/sources.list.d/vtx-deb-src.sources >/dev/null
[[ -n "$lines" ]] && printf '%s\n' "$lines" | $sudo tee /etc/apt/sources.list.d/vtx-deb-src.list >/dev/null
$sudo apt-get -o DPkg::Lock::Timeout=600 update
has_sources || { echo "add-deb-src.sh: no source of sqlite3 after adding deb-src entries" >&2; exit 1; }
