#!/usr/bin/env bash
# CHECKIN through Application on PostgreSQL beside the same rows written with
# plain libpq, in a private cluster started for the run; medians of
# REPETITIONS (5) runs, round trips per event in the last column.
#   bench/postgres_record_run.sh BUILD_DIR   (a release build with VTX_BUILD_BENCH)
set -euo pipefail
build=$(realpath "${1:-build/release}")
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
chmod 755 "$dir"  # the cluster's owner (postgres, under root) works in it
trap '"$here/../scripts/pg-cluster.sh" stop "$dir/pg" >/dev/null 2>&1 || true; rm -rf "$dir"' EXIT
"$here/../scripts/pg-cluster.sh" start "$dir/pg"
# Durability, the same for both sides: the server's settings.
psql -h "$dir/pg" -d postgres -AtXc \
  "SELECT 'synchronous_commit=' || current_setting('synchronous_commit') || ' fsync=' || current_setting('fsync')"
VTX_BENCH_PG_HOST=$dir/pg "$build/bench/electronic_record_bench" \
  --benchmark_filter='BM_Checkin(Application|Baseline)Postgres' \
  --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true
