#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests, needing no service of the machine:
#   scripts/pg-cluster.sh start DIR    initdb into DIR (if new) and start it
#   scripts/pg-cluster.sh stop DIR     stop it and remove DIR
#   scripts/pg-cluster.sh uri DIR NAME   the URI of database NAME in it
#   scripts/pg-cluster.sh drop DIR NAME  drops database NAME if it exists
# The server listens on a Unix socket in DIR only (no TCP) and trusts the user
# who started it, whose name is its superuser's. initdb refuses to run as root,
# so under root the cluster's files belong to the `postgres` user. Exits 77
# (the tests' "skipped") when PostgreSQL is not installed.
set -euo pipefail
action=${1:?start, stop or uri}
dir=${2:?the cluster folder}
bin=${VTX_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}

as_owner() {
  if [[ $(id -u) == 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$action" in
  start)
    if [[ -z "$bin" || ! -x "$bin/initdb" ]]; then
      echo "SKIPPED: PostgreSQL is not installed (no initdb under /usr/lib/postgresql)"
      exit 77
    fi
    if [[ $(id -u) == 0 && ! -e "$dir" ]]; then
      # The postgres user may not reach into root's folders: the cluster lives
      # in a folder of its own under /tmp, which DIR links to.
      mkdir -p "$(dirname "$dir")"
      ln -s "$(mktemp -d /tmp/vtx-pg.XXXXXX)" "$dir"
    fi
    mkdir -p "$dir"
    real=$(readlink -f "$dir")
    if [[ $(id -u) == 0 ]]; then
      chmod 755 "$real"
      chown postgres "$real"
    fi
    if [[ ! -f "$real/data/PG_VERSION" ]]; then
      as_owner "$bin/initdb" -D "$real/data" -A trust -U "$(id -un)" -E UTF8 --locale=C \
        >"$real/initdb.log"
    fi
    as_owner "$bin/pg_ctl" -D "$real/data" -l "$real/server.log" -w \
      -o "-c listen_addresses='' -c unix_socket_directories='$real' -c max_connections=200 -c fsync=off" \
      start >/dev/null
    echo "PostgreSQL cluster running in $dir"
    ;;
  stop)
    real=$(readlink -f "$dir")
    if [[ -f "$real/data/postmaster.pid" ]]; then
      as_owner "$bin/pg_ctl" -D "$real/data" -m fast -w stop >/dev/null
    fi
    rm -rf "$real" "$dir"
    ;;
  uri)
    echo "postgresql:///${3:?database name}?host=$dir"
    ;;
  drop)
    psql -q -h "$dir" -d postgres -v ON_ERROR_STOP=1 -c "SET client_min_messages = warning" -c "DROP DATABASE IF EXISTS \"${3:?database name}\"" >/dev/null
    ;;
  *)
    echo "usage: $0 start|stop|uri|drop DIR [NAME]" >&2
    exit 2
    ;;
esac
