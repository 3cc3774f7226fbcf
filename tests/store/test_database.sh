# Sourced by the store's tests: sets `db` (in $dir, or a database of its own in
# the PostgreSQL cluster $cluster), `copy` (a second one) and `fresh` to make
# `copy` a copy of `db`; `sql DB SQL` and `q SQL` (on `db`) query them.
if [[ -n "$cluster" ]]; then
  [[ -f "$cluster/data/postmaster.pid" ]] || { echo "SKIPPED: no PostgreSQL cluster in $cluster"; exit 77; }
  name=$(basename "$0" .sh)_$$
  db="postgresql:///$name?host=$cluster" copy="postgresql:///${name}_copy?host=$cluster"
  admin() { psql -q -h "$cluster" -d postgres -c "SET client_min_messages = warning" "${@/#/-c}"; }
  sql() { psql -Atq "$1" -c "$2"; }
  fresh() { admin "DROP DATABASE IF EXISTS ${name}_copy" "CREATE DATABASE ${name}_copy TEMPLATE $name"; }
  trap 'rm -rf "$dir"; admin "DROP DATABASE IF EXISTS $name" "DROP DATABASE IF EXISTS ${name}_copy"' EXIT
else
  db=$dir/c.db copy=$dir/t.db
  sql() { sqlite3 "$1" "$2"; }
  fresh() { rm -f "$copy"*; cp "$db" "$copy"; }
  trap 'rm -rf "$dir"' EXIT
fi
q() { sql "$db" "$1"; }
