#!/usr/bin/env bash
# Cross-builds VTX_HA.dll with mingw-w64 and runs its tests under Wine
# (build/windows; see docs/windows.md). Installs the Debian packages it misses.
# VTX_JOBS sets the build's parallel jobs (default: all processors).
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake ninja-build g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev wine wine64
          libgtest-dev xvfb xauth)
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
cmake --preset windows
cmake --build --preset windows --parallel "${VTX_JOBS:-$(nproc)}"
ctest --preset windows
