#!/usr/bin/env bash
# Cross-builds VTX_HA.dll for 32-bit (build/windows32) and 64-bit Windows
# (build/windows) with mingw-w64, runs the tests of both under Wine and makes
# build/windows/VTX_HA-<version>-windows.zip (see docs/windows.md). Installs
# the Debian packages it misses; without Wine's 32-bit half, or on a kernel
# that runs no 32-bit programs, the 32-bit DLL's tests under Wine are listed as
# not run (VTX_SKIP_WINE32=1 does not try to add it). VTX_JOBS sets the
# build's parallel jobs (default: all processors).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools libwine-dev \
  wine wine64 xvfb xauth dpkg-dev tcl
# SQLite comes from Debian's source package (cmake/sqlite3_from_source.cmake).
scripts/add-deb-src.sh
[[ "${VTX_SKIP_WINE32:-0}" == 1 ]] || scripts/install-wine32.sh || true
# The 32-bit DLL first: the 64-bit build's package takes it.
for preset in windows32 windows; do
  cmake --preset "$preset"
  cmake --build --preset "$preset" --parallel "${VTX_JOBS:-$(nproc)}"
  ctest --preset "$preset"
done
cmake --build --preset windows --target package
