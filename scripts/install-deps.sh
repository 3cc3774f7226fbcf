#!/usr/bin/env bash
# Installs the Debian packages VTX_HA builds with, and any packages named as
# arguments, when one is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libsqlite3-dev nlohmann-json3-dev libcli11-dev
          libfmt-dev libgtest-dev libgmock-dev libbenchmark-dev libssl-dev libpq-dev strace sqlite3
          "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi
