#!/usr/bin/env bash
# Copies of a database in folders their reader cannot write, read by a user
# who cannot write them either (nobody, when run as root): every reading
# command works, nothing appears beside the copy, and verify gives the
# original's verdict and head, also for a copy that comes with a -wal file
# holding committed transactions (the file alone would give another verdict).
#   read_only_test.sh VTX
set -euo pipefail
vtx=$(realpath "$1")
dir=$(mktemp -d)
chmod 755 "$dir"
if [[ $(id -u) == 0 ]]; then
  if ! command -v runuser >/dev/null || ! id nobody >/dev/null 2>&1; then
    echo "SKIPPED: runuser or the user nobody is missing"
    rm -rf "$dir"
    exit 77
  fi
  as_reader() { runuser -u nobody -- env TMPDIR="$scratch" "$@"; }
else
  as_reader() { env TMPDIR="$scratch" "$@"; }
fi
trap 'exec 3>&- 2>/dev/null || true; chmod -R u+w "$dir"; rm -rf "$dir"' EXIT
scratch=$dir/scratch  # the reader's own folder: temporary files and reports
mkdir "$scratch"
chmod 777 "$scratch"
db=$dir/original.db
"$vtx" init --db "$db" >/dev/null
"$vtx" hook CHECKIN Part "PN-00100 A" --db "$db" --user jdoe >/dev/null

# While another connection holds the database open, what is committed stays
# in its -wal file: the copy of the file and its -wal is a copy of a
# database in use.
mkfifo "$dir/hold"
sqlite3 "$db" <"$dir/hold" &
exec 3>"$dir/hold"
echo "SELECT count(*) FROM KV_OBJECTS;" >&3
sleep 1
for key in "PN-00100 A" "PN-00101 A"; do
  "$vtx" hook CHECKIN Part "$key" --db "$db" --user jdoe >/dev/null
done
sqlite3 "$db" "UPDATE TN_ELECTRONIC_RECORD SET CN_DESCRIPTION = 'changed around the host'
  WHERE OBJECT_ID = (SELECT max(OBJECT_ID) FROM TN_ELECTRONIC_RECORD)"
mkdir "$dir/with_wal" "$dir/plain"
cp "$db" "$dir/with_wal/copy.db"
cp "$db-wal" "$dir/with_wal/copy.db-wal"
exec 3>&-
wait
cp "$db" "$dir/plain/copy.db"
[[ ! -e $db-wal ]] || { echo "FAIL: the original kept its -wal"; exit 1; }

fail=0
expected_status=0
"$vtx" verify --db "$db" >"$dir/expected" || expected_status=$?
"$vtx" export --db "$db" --format json >"$dir/expected_export"
[[ $expected_status == 1 ]] || { echo "FAIL: the original's verdict is $expected_status, not 1"; fail=1; }
wal_only=$(sqlite3 "file:$dir/with_wal/copy.db?immutable=1" "SELECT count(*) FROM KV_LEDGER")
[[ $wal_only != $(sqlite3 "$db" "SELECT count(*) FROM KV_LEDGER") ]] ||
  { echo "FAIL: the copy's -wal holds no entry the file lacks"; fail=1; }

for copy in with_wal plain; do
  folder=$dir/$copy
  chmod 444 "$folder"/*
  chmod 555 "$folder"
  before=$(ls "$folder")
  run() {  # run EXPECTED_STATUS ARGS...: vtx as the reader, in its own folder
    local want=$1 status=0
    shift
    (cd "$scratch" && as_reader "$vtx" "$@" --db "$folder/copy.db" >"$scratch/out" 2>&1) || status=$?
    if [[ $status != "$want" ]]; then
      echo "FAIL: $copy: vtx $* exited $status, not $want:"
      cat "$scratch/out"
      fail=1
    fi
  }
  run 0 history Part "PN-00100 A" --user jdoe
  run 0 report Part "PN-00100 A" --user jdoe
  grep -q "$scratch/copy_reports/Report_0001.html" "$scratch/out" ||
    { echo "FAIL: $copy: the report is not beside the command"; cat "$scratch/out"; fail=1; }
  rm -rf "$scratch/copy_reports"
  run 0 settings get History "REPORT FOLDER" --user jdoe
  run 0 checkpoint
  run 0 export --format json
  cmp -s "$scratch/out" "$dir/expected_export" || { echo "FAIL: $copy: export differs"; fail=1; }
  run "$expected_status" verify
  cmp -s "$scratch/out" "$dir/expected" ||
    { echo "FAIL: $copy: verify differs from the original's:"; diff "$dir/expected" "$scratch/out"; fail=1; }
  [[ $(ls "$folder") == "$before" ]] || { echo "FAIL: $copy: files appeared: $(ls "$folder")"; fail=1; }
done
[[ -z $(ls "$scratch" | grep -v '^out$') ]] || { echo "FAIL: left behind: $(ls "$scratch")"; fail=1; }
exit $fail
