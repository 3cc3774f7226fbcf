#!/usr/bin/env bash
# Kills `vtx hook` at each of its writes (strace fault injection on pwrite64)
# for an object and for a relation link, and checks that every crash leaves
# the audit trail as before the hook or as after it: never an electronic
# record without the links to the objects its operation concerns.
#   crash_test.sh VTX
set -euo pipefail
vtx=$1
export ASAN_OPTIONS=detect_leaks=0  # the leak checker cannot run under ptrace
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$vtx" init --db "$dir/seed.db" >/dev/null

# Records, history links, and records lacking one: the state the check compares.
state() {
  sqlite3 "$1" "SELECT (SELECT count(*) FROM TN_ELECTRONIC_RECORD),
    (SELECT count(*) FROM TN_PART_HISTORY) + (SELECT count(*) FROM TN_DOCUMENT_HISTORY),
    (SELECT count(*) FROM TN_ELECTRONIC_RECORD r WHERE NOT EXISTS
       (SELECT 1 FROM TN_PART_HISTORY h WHERE h.OBJECT_ID2 = r.OBJECT_ID)
     AND NOT EXISTS (SELECT 1 FROM TN_DOCUMENT_HISTORY h WHERE h.OBJECT_ID2 = r.OBJECT_ID))"
}

fresh() { rm -f "$dir"/t.db*; cp "$dir/seed.db" "$dir/t.db"; }

runs=0
bad=0
for target in "Part PN-00100 A" "Part_Document #302"; do
  read -r class key <<<"$target"
  fresh
  before=$(state "$dir/t.db")
  strace -f -qq -o "$dir/trace" -e trace=pwrite64 "$vtx" hook CHECKIN "$class" "$key" \
    --db "$dir/t.db" --user jdoe >/dev/null
  after=$(state "$dir/t.db")
  writes=$(grep -c pwrite64 "$dir/trace")
  [[ $before != "$after" && $writes -gt 0 ]] || { echo "FAIL: $class wrote nothing"; exit 1; }
  for ((n = 1; n <= writes; n++)); do
    fresh
    { strace -f -qq -o /dev/null -e trace=pwrite64 -e inject=pwrite64:signal=KILL:when=$n \
      "$vtx" hook CHECKIN "$class" "$key" --db "$dir/t.db" --user jdoe >/dev/null 2>&1 || true; } 2>/dev/null
    got=$(state "$dir/t.db")
    runs=$((runs + 1))
    if [[ $got != "$before" && $got != "$after" ]]; then
      bad=$((bad + 1))
      echo "FAIL: $class killed at write $n: $got (before $before, after $after)"
    fi
  done
done
echo "$bad half-written of $runs crashed hooks"
((bad == 0))
