#!/usr/bin/env bash
# Starts a throwaway PostgreSQL server for the tests: a fresh cluster in a temporary folder,
# run by an unprivileged user (the server refuses root), listening on loopback only.
# Usage: pg-test-start.sh STATE_DIR
# Writes STATE_DIR/env with KORAVEL_PG_HOST/PORT/DB/USER/PASSWORD lines for the tests.
set -euo pipefail

state_dir=${1:?usage: pg-test-start.sh STATE_DIR}
pg_bin=${KORAVEL_PG_BIN:-/usr/lib/postgresql/15/bin}
db_name=koravel_test
db_user=koravel
db_password=koravel-test
here=$(cd "$(dirname "$0")" && pwd)

# A server left behind by an interrupted run goes first.
if [ -f "$state_dir/datadir" ]; then
  "$here/pg-test-stop.sh" "$state_dir" || true
fi
mkdir -p "$state_dir"

as_owner() { "$@"; }
owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  if id -u postgres >/dev/null 2>&1; then owner=postgres; else owner=nobody; fi
  as_owner() { runuser -u "$owner" -- "$@"; }
fi

data_dir=$(mktemp -d /tmp/koravel-pg.XXXXXX)
chmod 700 "$data_dir"
[ "$owner" = "$(id -un)" ] || chown "$owner" "$data_dir"
echo "$data_dir" >"$state_dir/datadir"
echo "$owner" >"$state_dir/owner"

pwfile="$data_dir/pwfile"
echo "$db_password" >"$pwfile"
[ "$owner" = "$(id -un)" ] || chown "$owner" "$pwfile"
as_owner "$pg_bin/initdb" -D "$data_dir/cluster" -U "$db_user" --pwfile="$pwfile" \
  --auth=scram-sha-256 --encoding=UTF8 --locale=C.UTF-8 >"$data_dir/initdb.log" 2>&1 || {
  cat "$data_dir/initdb.log" >&2
  exit 1
}
rm -f "$pwfile"

# Another server may hold a port between our probe and the start: try the next one then.
started=0
for port in $(seq "${KORAVEL_PG_PORT_FIRST:-55432}" "${KORAVEL_PG_PORT_LAST:-55531}"); do
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    continue
  fi
  if as_owner "$pg_bin/pg_ctl" -D "$data_dir/cluster" -l "$data_dir/server.log" -w -t 30 \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories='$data_dir' -c fsync=off" \
    start >/dev/null; then
    started=1
    break
  fi
done
if [ "$started" -ne 1 ]; then
  cat "$data_dir/server.log" >&2 || true
  echo "pg-test-start: the test server did not start" >&2
  exit 1
fi

PGPASSWORD=$db_password "$pg_bin/createdb" -h 127.0.0.1 -p "$port" -U "$db_user" "$db_name"

cat >"$state_dir/env" <<ENV
KORAVEL_PG_HOST=127.0.0.1
KORAVEL_PG_PORT=$port
KORAVEL_PG_DB=$db_name
KORAVEL_PG_USER=$db_user
KORAVEL_PG_PASSWORD=$db_password
ENV
echo "pg-test-start: server on 127.0.0.1:$port, database $db_name, folder $data_dir"
