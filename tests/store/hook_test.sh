#!/usr/bin/env bash
# `vtx hook UPDATE` and `vtx hook DELETE` play Korvel's hooks in Korvel's
# order: the update is stored and its record says what changed; the deletion
# is recorded with the last values, then the object is gone, and the ledger
# holds. A failed step stops the ones after it.
#   hook_test.sh VTX [PG_CLUSTER]
set -euo pipefail
vtx=$1 cluster=${2:-}
dir=$(mktemp -d)
source "$(dirname "$0")/test_database.sh"
"$vtx" init --db "$db" >/dev/null
fail=0
check() { [[ $2 == "$3" ]] || { echo "FAIL: $1: got '$2', want '$3'"; cat "$dir/out"; fail=1; }; }
ops="SELECT string_agg(CN_HOOK_OPERATION, ',') FROM (SELECT CN_HOOK_OPERATION FROM
  TN_ELECTRONIC_RECORD WHERE CN_OBJECT_ID = 101 ORDER BY OBJECT_ID) AS r"
[[ -z $cluster ]] && ops=${ops//string_agg/group_concat}

status=0
"$vtx" hook UPDATE Part "PN-00101 A" --set "TITLE=Hex impeller" --set QUANTITY=3 --db "$db" \
  --user jdoe >"$dir/out" 2>&1 || status=$?
check "update status" "$status" 0
check "update stored" "$(q "SELECT TITLE || '/' || QUANTITY FROM TN_PARTS WHERE OBJECT_ID = 101")" \
  "Hex impeller/3"
check "update described" "$(grep -c "Title was: 'Impeller' is: 'Hex impeller '" "$dir/out")" 1

status=0
"$vtx" hook UPDATE Part "PN-00101 A" --set REVISION=ABCDE --db "$db" --user jdoe \
  >"$dir/out" 2>&1 || status=$?
check "update too long" "$status" 1
check "no record call after the failed update" "$(grep -c ExecuteCreateNewERObject "$dir/out")" 0
check "no record after the failed update" "$(q "$ops")" "Update"

status=0
"$vtx" hook DELETE Part "PN-00101 A" --db "$db" --user jdoe >"$dir/out" 2>&1 || status=$?
check "delete status" "$status" 0
check "deleted" "$(q "SELECT count(*) FROM TN_PARTS WHERE OBJECT_ID = 101")" 0
check "records" "$(q "$ops")" "Update,Delete"
check "deletion described" "$(grep -c "Title was: 'Hex impeller'" "$dir/out")" 1
"$vtx" verify --db "$db" >"$dir/out" || { echo "FAIL: the ledger after the hooks:"; cat "$dir/out"; fail=1; }
exit $fail
