#!/usr/bin/env bash
# Sets up, builds under AddressSanitizer + UndefinedBehaviorSanitizer and runs every test,
# then cross-builds VTX_HA.dll and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# A browser and PDF tools print the history report in its browser test; the
# tests on PostgreSQL run in a private cluster of the Debian server.
scripts/install-deps.sh chromium poppler-utils postgresql
cmake --preset dev
cmake --build --preset dev
ctest --preset dev
# The same add-in as a Windows COM server, under Wine (VTX_SKIP_WINDOWS=1 skips it).
if [[ "${VTX_SKIP_WINDOWS:-0}" != 1 ]]; then
  scripts/test-windows.sh
fi
