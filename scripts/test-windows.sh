#!/usr/bin/env bash
# Cross-builds VTX_HA.dll with mingw-w64 and runs its tests under Wine
# (build/windows; see docs/windows.md). Installs the Debian packages it misses.
# VTX_JOBS sets the build's parallel jobs (default: all processors).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev wine wine64 xvfb xauth
cmake --preset windows
cmake --build --preset windows --parallel "${VTX_JOBS:-$(nproc)}"
ctest --preset windows
