#!/usr/bin/env bash
# `vtx hook` on a PostgreSQL server that stops answering or loses an answer,
# with every wait bounded at 1 s (VTX_PG_WAIT_SECONDS) so that each case takes
# seconds:
#  - a server that never answers the connection, a backend stopped in the
#    middle of a statement: exit 1 within the bound, naming the server;
#  - the answer to COMMIT lost after the server committed: exit 0 and a line
#    saying it committed; lost, and the server gone with it: exit 3, "outcome
#    unknown"; a backend stopped at COMMIT: exit 3; a backend still at work
#    on its COMMIT when vtx gives up: ended, exit 1, nothing stored;
#  - a role the server does not know: exit 2 naming it.
#   pg_wait_test.sh VTX PG_CLUSTER
set -euo pipefail
vtx=$1 cluster=${2:-}
[[ -n $cluster ]] || { echo "SKIPPED: needs a PostgreSQL cluster"; exit 77; }
dir=$(mktemp -d)
source "$(dirname "$0")/test_database.sh"
relay=
stopped=
trap '[[ -n $relay ]] && kill $relay; [[ -n $stopped ]] && kill -CONT $stopped; rm -rf "$dir"
  admin "DROP DATABASE IF EXISTS $name WITH (FORCE)"' EXIT
export VTX_PG_WAIT_SECONDS=1
"$vtx" init --db "$db" >/dev/null
named="$db&application_name=vtx_wait_test"
fail=0

records() { q "SELECT count(*) FROM TN_ELECTRONIC_RECORD"; }
# The relay (pg_relay.pl) in MODE between vtx and the cluster, on $dir's socket.
start_relay() {
  perl "$(dirname "$0")/pg_relay.pl" "$1" "$dir/.s.PGSQL.5432" "$cluster/.s.PGSQL.5432" &
  relay=$!
  until [[ -S $dir/.s.PGSQL.5432 ]]; do sleep 0.1; done
}
stop_relay() { kill $relay; wait $relay 2>/dev/null || true; relay=; }
# Stops the backend of the hook running now once it sleeps in a trigger.
stop_backend() {
  until stopped=$(q "SELECT pid FROM pg_stat_activity WHERE application_name = 'vtx_wait_test'
      AND wait_event = 'PgSleep'") && [[ -n $stopped ]]; do sleep 0.1; done
  kill -STOP "$stopped"
}
go_on() {
  kill -CONT "$stopped"
  while [[ -n $(q "SELECT 1 FROM pg_stat_activity WHERE pid = $stopped") ]]; do sleep 0.1; done
  stopped=
}
# Checks the hook that wrote $dir/out and ended with $status after $took s.
expect() {
  echo "== $1 (exit $status, ${took}s)"; tail -2 "$dir/out"
  local case=$1 want=$2 says=$3 stored=$4
  if [[ $status != "$want" ]] || ! grep -qF "$says" "$dir/out" || [[ $((after - before)) != "$stored" ]] ||
    ((took > 20)); then
    echo "FAIL: $case: exit $status after $took s, $((after - before)) stored (want $want, \"$says\", $stored):"
    cat "$dir/out"
    fail=1
  fi
}
# Runs the hook on URI; `&` as second argument: in the background (then `finish`).
hook() {
  before=$(records) start=$SECONDS
  "$vtx" hook CHECKIN Part "PN-00100 A" --db "$1" --user jdoe >"$dir/out" 2>&1 &
  hook_pid=$!
  [[ ${2:-} == "&" ]] || finish
}
finish() {
  status=0
  wait $hook_pid || status=$?
  took=$((SECONDS - start))
}

start_relay silent
hook "postgresql:///$name?host=$dir"
after=$(records)
expect "silent server" 1 "did not answer the connection within 2 s" 0
stop_relay

start_relay commit
hook "postgresql:///$name?host=$dir"
after=$(records)
expect "COMMIT answer lost" 0 "the server says the transaction committed" 1
stop_relay
"$vtx" verify --db "$db" >/dev/null || { echo "FAIL: the ledger after a lost COMMIT answer"; fail=1; }

start_relay commit-gone
hook "postgresql:///$name?host=$dir"
after=$(records)
expect "COMMIT answer lost, server gone" 3 "outcome unknown" 1
stop_relay

q "CREATE FUNCTION vtx_sleep() RETURNS trigger LANGUAGE plpgsql AS
   \$\$ BEGIN PERFORM pg_sleep(60); RETURN NEW; END \$\$;
   CREATE CONSTRAINT TRIGGER at_commit AFTER INSERT ON tn_electronic_record
   DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION vtx_sleep()" >/dev/null
hook "$named"
after=$(records)
expect "backend busy at COMMIT" 1 "the server says the transaction did not commit" 0

hook "$named" "&"
stop_backend
finish
go_on
after=$(records)
expect "backend stopped at COMMIT" 3 "outcome unknown" 0

q "DROP TRIGGER at_commit ON tn_electronic_record; CREATE TRIGGER at_insert BEFORE INSERT
   ON tn_electronic_record FOR EACH ROW EXECUTE FUNCTION vtx_sleep()" >/dev/null
hook "$named" "&"
stop_backend
finish
go_on
after=$(records)
expect "backend stopped in a statement" 1 "did not answer within 6 s" 0
q "DROP TRIGGER at_insert ON tn_electronic_record" >/dev/null

hook "postgresql://no_such_role@/$name?host=$cluster"
after=$(records)
expect "unknown role" 2 'the server knows no role "no_such_role"' 0
exit $fail
