#!/usr/bin/env bash
# Sets up, builds and runs the demo working session on an embedded SQLite database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vtx
mkdir -p build/demo
build/release/vtx demo --db build/demo/demo.db "$@"
build/release/vtx verify --db build/demo/demo.db
