#!/usr/bin/env bash
# Kills `vtx hook` at each of its writes (strace fault injection on pwrite64)
# for an object and for a relation link, and checks that every crash leaves
# the audit trail as before the hook or as after it: never an electronic
# record without the links to the objects its operation concerns. On
# PostgreSQL (given a cluster) the writes are the messages sent to the server.
#   crash_test.sh VTX [PG_CLUSTER]
set -euo pipefail
vtx=$1 cluster=${2:-}
export ASAN_OPTIONS=detect_leaks=0  # the leak checker cannot run under ptrace
dir=$(mktemp -d)
source "$(dirname "$0")/test_database.sh"
write=pwrite64
[[ -n $cluster ]] && write=sendto
"$vtx" init --db "$db" >/dev/null

# Records, history links, and records lacking one: the state the check compares.
state() {
  sql "$1" "SELECT (SELECT count(*) FROM TN_ELECTRONIC_RECORD),
    (SELECT count(*) FROM TN_PART_HISTORY) + (SELECT count(*) FROM TN_DOCUMENT_HISTORY),
    (SELECT count(*) FROM TN_ELECTRONIC_RECORD r WHERE NOT EXISTS
       (SELECT 1 FROM TN_PART_HISTORY h WHERE h.OBJECT_ID1 = r.OBJECT_ID)
     AND NOT EXISTS (SELECT 1 FROM TN_DOCUMENT_HISTORY h WHERE h.OBJECT_ID1 = r.OBJECT_ID))"
}

runs=0
bad=0
for target in "Part PN-00100 A" "Part_Document #302"; do
  read -r class key <<<"$target"
  fresh
  before=$(state "$copy")
  strace -f -qq -o "$dir/trace" -e trace=$write "$vtx" hook CHECKIN "$class" "$key" \
    --db "$copy" --user jdoe >/dev/null
  after=$(state "$copy")
  writes=$(grep -c $write "$dir/trace")
  [[ $before != "$after" && $writes -gt 0 ]] || { echo "FAIL: $class wrote nothing"; exit 1; }
  for ((n = 1; n <= writes; n++)); do
    fresh
    { strace -f -qq -o /dev/null -e trace=$write -e inject=$write:signal=KILL:when=$n \
      "$vtx" hook CHECKIN "$class" "$key" --db "$copy" --user jdoe >/dev/null 2>&1 || true; } 2>/dev/null
    got=$(state "$copy")
    runs=$((runs + 1))
    if [[ $got != "$before" && $got != "$after" ]]; then
      bad=$((bad + 1))
      echo "FAIL: $class killed at write $n: $got (before $before, after $after)"
    fi
  done
done
echo "$bad half-written of $runs crashed hooks"
((bad == 0))
