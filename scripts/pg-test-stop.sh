#!/usr/bin/env bash
# Stops the throwaway PostgreSQL server of pg-test-start.sh and deletes its folder.
# Usage: pg-test-stop.sh STATE_DIR
set -euo pipefail

state_dir=${1:?usage: pg-test-stop.sh STATE_DIR}
pg_bin=${KORAVEL_PG_BIN:-/usr/lib/postgresql/15/bin}

[ -f "$state_dir/datadir" ] || exit 0
data_dir=$(cat "$state_dir/datadir")
owner=$(cat "$state_dir/owner" 2>/dev/null || id -un)

if [ -f "$data_dir/cluster/postmaster.pid" ]; then
  if [ "$(id -u)" -eq 0 ] && [ "$owner" != root ]; then
    runuser -u "$owner" -- "$pg_bin/pg_ctl" -D "$data_dir/cluster" -m fast -w stop >/dev/null || true
  else
    "$pg_bin/pg_ctl" -D "$data_dir/cluster" -m fast -w stop >/dev/null || true
  fi
fi
case "$data_dir" in
  /tmp/koravel-pg.*) rm -rf "$data_dir" ;;
esac
rm -f "$state_dir/datadir" "$state_dir/owner" "$state_dir/env"
echo "pg-test-stop: server stopped and removed"
