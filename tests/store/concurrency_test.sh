#!/usr/bin/env bash
# Several `vtx` processes on one database file at once:
#  - N x M hooks: every record attempted is stored, with ids of its own, and
#    the record each hook prints is the one it made (its process's operation);
#  - verify while 4 processes write hooks and one deletes a history: it reads
#    one snapshot, so it never reports a problem that is not there;
#  - 8 `settings set` of one setting: each write is stored or its process
#    exits non-zero, never "= false" with status 0.
#   concurrency_test.sh VTX [PG_CLUSTER]  (given a cluster: a PostgreSQL database in it)
set -euo pipefail
vtx=$1 cluster=${2:-}
dir=$(mktemp -d)
source "$(dirname "$0")/test_database.sh"
"$vtx" init --db "$db" >/dev/null
fail=0

records=$(q "SELECT count(*) FROM TN_ELECTRONIC_RECORD")
for p in 1 2 3 4; do
  (for m in 1 2 3 4 5 6 7 8; do "$vtx" hook "OP$p" Part "PN-00100 A" --db "$db" --user jdoe; done \
    >"$dir/hooks$p") &
done
wait
stored=$(($(q "SELECT count(*) FROM TN_ELECTRONIC_RECORD") - records))
[[ $stored == 32 ]] || { echo "FAIL: 32 hooks stored $stored records"; fail=1; }
printed=$(sed -n 's/^ *Electronic record #\([0-9]*\):$/\1/p' "$dir"/hooks* | sort -u | wc -l)
[[ $printed == 32 ]] || { echo "FAIL: 32 hooks printed $printed distinct records"; fail=1; }
for p in 1 2 3 4; do
  for id in $(sed -n 's/^ *Electronic record #\([0-9]*\):$/\1/p' "$dir/hooks$p"); do
    op=$(q "SELECT CN_HOOK_OPERATION FROM TN_ELECTRONIC_RECORD WHERE OBJECT_ID = $id")
    [[ $op == "Op$p" ]] || { echo "FAIL: process $p printed record $id of operation '$op'"; fail=1; }
  done
done
# Writers of several processes keep the ledger one unbroken chain.
"$vtx" verify --db "$db" >"$dir/verify" || { echo "FAIL: after concurrent hooks:"; cat "$dir/verify"; fail=1; }
dup=$(q "SELECT count(*) - count(DISTINCT OBJECT_ID) FROM (SELECT OBJECT_ID FROM
  TN_ELECTRONIC_RECORD UNION ALL SELECT OBJECT_ID FROM TN_PART_HISTORY) AS ids")
[[ $dup == 0 ]] || { echo "FAIL: $dup object ids given twice"; fail=1; }

# Readers: 25 verifies while writers and a deleter run; none may fail.
rm -f "$dir/stop"
for p in 1 2 3 4; do
  (while [[ ! -e $dir/stop ]]; do "$vtx" hook CHECKIN Part "PN-00100 A" --db "$db" --user jdoe >/dev/null; done) &
done
(while [[ ! -e $dir/stop ]]; do
   "$vtx" hook CHECKIN Part "PN-00101 A" --db "$db" --user jdoe >/dev/null
   "$vtx" delete-history Part "PN-00101 A" --db "$db" --user jdoe >/dev/null
 done) &
alarms=0
for run in $(seq 25); do
  "$vtx" verify --db "$db" >"$dir/verify" 2>&1 || { echo "FAIL: verify $run while writing:"; cat "$dir/verify"; alarms=$((alarms + 1)); }
done
touch "$dir/stop"
wait
echo "$alarms false alarms in 25 verifies while 4 processes wrote hooks and one deleted a history"
((alarms == 0)) || fail=1
"$vtx" verify --db "$db" >"$dir/verify" || { echo "FAIL: after the writers:"; cat "$dir/verify"; fail=1; }

for p in 1 2 3 4 5 6 7 8; do
  ("$vtx" settings set Concurrency Subject "value$p" --db "$db" --user jdoe >"$dir/set$p" 2>&1
   echo $? >"$dir/rc$p") &
done
wait
for p in 1 2 3 4 5 6 7 8; do
  if [[ $(cat "$dir/rc$p") == 0 ]] && grep -q "= false" "$dir/set$p"; then
    echo "FAIL: settings set $p dropped its write with status 0:"
    cat "$dir/set$p"
    fail=1
  fi
done
exit $fail
