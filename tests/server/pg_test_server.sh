#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests: initdb into a temporary folder as an unprivileged
# user, listening on 127.0.0.1 only, on a free port.
# Usage: pg_test_server.sh start <info-file>   makes and starts it; writes how to reach it
#        pg_test_server.sh stop <info-file>    stops it and removes its folder
#        pg_test_server.sh halt|resume <info-file>   stops or starts it, keeping its data
set -euo pipefail
action=${1:?action}
info=${2:?info file}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL is not installed (apt-get install postgresql)" >&2
  exit 1
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

start_server() {
  as_owner "$bindir/pg_ctl" -D "$PGDATA" -l "$PGDATA/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $PGPORT -k $PGDATA" start >/dev/null
}

case "$action" in
start)
  [ ! -f "$info" ] || "$0" stop "$info" || true
  dir=$(mktemp -d /tmp/tavora-pg.XXXXXX)
  PGDATA=$dir/data
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  as_owner "$bindir/initdb" -D "$PGDATA" -U tavora_admin --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
  # One role signs in with a password, to prove the program asks for it.
  printf '%s\n' "host all tavora_pw 127.0.0.1/32 scram-sha-256" "host all all 127.0.0.1/32 trust" \
    "local all all trust" | as_owner tee "$PGDATA/pg_hba.conf" >/dev/null
  # Speed over durability: the data is thrown away.
  printf '%s\n' "fsync = off" "synchronous_commit = off" "full_page_writes = off" "max_connections = 200" \
    | as_owner tee -a "$PGDATA/postgresql.conf" >/dev/null
  for try in $(seq 1 20); do
    PGPORT=$((20000 + RANDOM % 20000))
    port_free "$PGPORT" || continue
    if start_server; then
      break
    fi
    PGPORT=
  done
  [ -n "${PGPORT:-}" ] || { echo "the test server did not start" >&2; cat "$PGDATA/server.log" >&2 || true; exit 1; }
  printf '%s\n' "PGBIN=$bindir" "PGDATA=$PGDATA" "PGPORT=$PGPORT" "ROOT=$dir" \
    "CONNINFO=host=127.0.0.1 port=$PGPORT user=tavora_admin dbname=postgres" >"$info"
  echo "PostgreSQL test server on 127.0.0.1:$PGPORT ($PGDATA)"
  ;;
stop | halt | resume)
  [ -f "$info" ] || exit 0
  # shellcheck disable=SC1090
  source <(grep -E '^(PGDATA|PGPORT|ROOT)=' "$info")
  case "$action" in
  halt) as_owner "$bindir/pg_ctl" -D "$PGDATA" -m fast -w stop >/dev/null ;;
  resume) start_server ;;
  stop)
    as_owner "$bindir/pg_ctl" -D "$PGDATA" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$ROOT"
    rm -f "$info"
    ;;
  esac
  ;;
*)
  echo "unknown action $action" >&2
  exit 2
  ;;
esac
