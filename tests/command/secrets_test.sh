#!/usr/bin/env bash
# Every command given passwords every way libpq takes them (after the user
# name in the URI, as the URI's password parameter, in PGPASSWORD and in a
# service file) prints none of them: on success against the cluster, and on
# failure against a server that is not there or with arguments vtx refuses.
#   secrets_test.sh VTX PG_CLUSTER
set -euo pipefail
vtx=$1 cluster=${2:-}
dir=$(mktemp -d)
source "$(dirname "$0")/../store/test_database.sh"
export PGPASSWORD=Secret-From-Environment PGSERVICEFILE=$dir/services.conf
printf '[vtx]\nhost=%s\ndbname=%s\npassword=Secret-From-Service\n' "$cluster" "$name" >"$dir/services.conf"
echo '{"model": "builtin:demo"}' >"$dir/scenario.json"
me=$(id -un)
uri="postgresql://$me:Secret-In-User-Info@/$name?host=$cluster&password=Secret-In-Query"
nowhere="postgresql://$me:Secret-In-User-Info@/$name?host=$dir/nowhere&password=Secret-In-Query"
# Each command and the status it ends with on a server that is there; on
# one that is not, every command fails.
commands=(
  "0 init --db DB"
  "0 demo --db DB"
  "0 run scenario.json --db DB"
  "0 hook CHECKIN Part 'PN-00100 A' --db DB --user jdoe"
  "0 hook UPDATE Part 'PN-00100 A' --set TITLE=Bolt --db DB --user jdoe"
  "0 history Part 'PN-00100 A' --db DB --user jdoe"
  "0 report Part 'PN-00100 A' --db DB --user jdoe"
  "0 settings set Section Subject value --db DB --user jdoe"
  "0 settings get Section Subject --db DB --user jdoe"
  "0 delete-history Part 'PN-00100 A' --db DB --user jdoe"
  "0 check-model --db DB"
  "0 verify --db DB"
  "0 export --db DB"
  "0 export --db DB --format json"
  "2 verify DB"
  "2 hook CHECKIN Part '#1' --db DB --user nobody"
)
fail=0
for target in "$uri" "postgresql:///?service=vtx" "$nowhere"; do
  case $target in
    "$uri") shown="the cluster" ;;
    "$nowhere") shown="no server" ;;
    *) shown="the service file" ;;
  esac
  for line in "${commands[@]}"; do
    want=${line%% *} command=${line#* }
    command=${command//DB/"'$target'"}
    status=0
    (cd "$dir" && eval "\"$vtx\" $command") >"$dir/out" 2>&1 </dev/null || status=$?
    if grep -q Secret "$dir/out" || ((status >= 128)) ||
      { [[ $target == "$nowhere" ]] && ((status == 0)); } ||
      { [[ $target != "$nowhere" ]] && ((status != want)); }; then
      echo "FAIL: vtx ${line#* } on $shown: exit $status:"
      cat "$dir/out"
      fail=1
    fi
  done
done
exit $fail
