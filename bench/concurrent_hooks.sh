#!/usr/bin/env bash
# N processes at once, each running `vtx hook CHECKIN` M times on one object,
# against one SQLite file and against one PostgreSQL database (in a private
# cluster of its own): what was attempted, acknowledged, stored and lost, ids
# given twice, records without their history link, whether the ledger holds,
# and events per second: stored records over wall time (process start-up
# included), and over wall time less that of the same processes doing
# nothing but start and open the database (`vtx check-model`, as many times),
# which shows the store's own throughput under contention.
#   bench/concurrent_hooks.sh VTX [M] [N...]   (default: 200 hooks, N = 2 4 8 16)
set -euo pipefail
vtx=$(realpath "$1")
hooks=${2:-200}
shift $(($# < 2 ? $# : 2))
counts=("$@")
[[ $# -gt 0 ]] || counts=(2 4 8 16)
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
chmod 755 "$dir"  # the cluster's owner (postgres, under root) works in it
cluster=$dir/pg
trap '"$here/../scripts/pg-cluster.sh" stop "$cluster" >/dev/null 2>&1 || true; rm -rf "$dir"' EXIT
backends=(sqlite)
if "$here/../scripts/pg-cluster.sh" start "$cluster" >/dev/null; then
  backends+=(postgresql)
else
  echo "no PostgreSQL cluster could start: SQLite only"
fi

sql() {
  if [[ $1 == postgresql* ]]; then psql -Atq "$1" -c "$2"; else sqlite3 "$1" "$2"; fi
}

printf "%-10s %3s %9s %6s %6s %4s %4s %4s %6s %8s %8s %9s\n" backend N attempted acked stored lost \
  dup half ledger events/s start-up store-ev/s
for backend in "${backends[@]}"; do
  for n in "${counts[@]}"; do
    if [[ $backend == sqlite ]]; then
      db=$dir/hooks_$n.db
    else
      db=$("$here/../scripts/pg-cluster.sh" uri "$cluster" "hooks_$n")
    fi
    "$vtx" init --db "$db" >/dev/null
    before=$(sql "$db" "SELECT count(*) FROM TN_ELECTRONIC_RECORD")
    start=$(date +%s.%N)
    for ((p = 1; p <= n; p++)); do
      (for ((m = 1; m <= hooks; m++)); do "$vtx" check-model --db "$db" >/dev/null; done) &
    done
    wait
    startup=$(echo "$(date +%s.%N) - $start" | bc -l)
    start=$(date +%s.%N)
    for ((p = 1; p <= n; p++)); do
      (ok=0
       for ((m = 1; m <= hooks; m++)); do
         if "$vtx" hook CHECKIN Part "PN-00100 A" --db "$db" --user jdoe >/dev/null 2>"$dir/err_$p"; then
           ok=$((ok + 1))
         fi
       done
       echo "$ok" >"$dir/ok_$p") &
    done
    wait
    end=$(date +%s.%N)
    acked=0
    for ((p = 1; p <= n; p++)); do acked=$((acked + $(cat "$dir/ok_$p"))); done
    stored=$(($(sql "$db" "SELECT count(*) FROM TN_ELECTRONIC_RECORD") - before))
    dup=$(sql "$db" "SELECT count(*) - count(DISTINCT OBJECT_ID) FROM (SELECT OBJECT_ID FROM
      TN_ELECTRONIC_RECORD UNION ALL SELECT OBJECT_ID FROM TN_PART_HISTORY) AS ids")
    half=$(sql "$db" "SELECT count(*) FROM TN_ELECTRONIC_RECORD r WHERE NOT EXISTS
      (SELECT 1 FROM TN_PART_HISTORY h WHERE h.OBJECT_ID1 = r.OBJECT_ID)")
    ledger=holds
    "$vtx" verify --db "$db" >/dev/null 2>&1 || ledger=BROKEN
    attempted=$((n * hooks))
    printf "%-10s %3d %9d %6d %6d %4d %4d %4d %6s %8.1f %7.2fs %9.1f\n" "$backend" "$n" \
      "$attempted" "$acked" "$stored" $((attempted - stored)) "$dup" "$half" "$ledger" \
      "$(echo "$stored / ($end - $start)" | bc -l)" "$startup" \
      "$(echo "$stored / ($end - $start - $startup)" | bc -l)"
  done
done
