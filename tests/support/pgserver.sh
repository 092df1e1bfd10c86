#!/bin/bash
# Private PostgreSQL 15 server for the tests.
#   pgserver.sh start DIR   create (once) and start a server in DIR
#   pgserver.sh stop DIR    stop it and remove DIR
# The server listens only on the Unix socket DIR/.s.PGSQL.5432, so it never
# meets a system server on TCP port 5432.  Clients connect with host DIR.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
port=5432

die() { echo "pgserver: $*" >&2; exit 1; }

[ $# -eq 2 ] || die "usage: $0 start|stop DIR"
action=$1
dir=$2
case $dir in
    /?*) dir=${dir%/} ;;
    *) die "DIR must be an absolute path, got '$dir'" ;;
esac
case $dir in
    *[[:space:]\'\"]*) die "DIR must not contain blanks or quotes: '$dir'" ;;
esac
data=$dir/data
log=$dir/log

# initdb and postgres refuse to run as root: root runs them as postgres.
if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || die "the OS user 'postgres' is missing (install postgresql-15)"
    as_owner() { (cd / && runuser -u postgres -- "$@"); }
else
    as_owner() { (cd / && "$@"); }
fi

running() { [ -f "$data/PG_VERSION" ] && as_owner "$bin/pg_ctl" status -D "$data" >/dev/null 2>&1; }

start() {
    [ -x "$bin/initdb" ] || die "$bin/initdb not found (install postgresql-15)"
    mkdir -p "$dir"
    chmod 0755 "$dir"
    [ "$(id -u)" -ne 0 ] || chown postgres:postgres "$dir"

    if ! running; then
        if [ ! -d "$data" ]; then
            out=$(as_owner "$bin/initdb" -D "$data" -E UTF8 --locale=C.UTF-8 --no-sync \
                      -A trust -U postgres 2>&1) || { echo "$out" >&2; die "initdb failed in $data"; }
        fi
        if ! as_owner "$bin/pg_ctl" start -w -t 60 -D "$data" -l "$log" -o \
                "-k '$dir' -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -p $port -c max_connections=100" \
                >/dev/null; then
            echo "pgserver: server failed to start; tail of $log:" >&2
            tail -n 40 "$log" >&2 || true
            exit 1
        fi
    fi

    # The tests log in as the client's fixed account.
    psql -X -q -h "$dir" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 <<'SQL' ||
do $$
begin
    if not exists (select from pg_roles where rolname = 'sys') then
        create role sys login createdb password 'qmzvelp';
    else
        alter role sys login createdb password 'qmzvelp';
    end if;
end $$;
SQL
        die "could not create the role sys on $dir"
}

stop() {
    if running; then
        as_owner "$bin/pg_ctl" stop -w -t 60 -D "$data" -m fast >/dev/null ||
            as_owner "$bin/pg_ctl" stop -w -t 30 -D "$data" -m immediate >/dev/null ||
            die "could not stop the server in $data"
    fi
    [ -e "$dir" ] || return 0
    # Only what this script made; anything else in DIR makes rmdir fail.
    rm -rf -- "$data" "$log" "$dir/.s.PGSQL.$port" "$dir/.s.PGSQL.$port.lock"
    rmdir -- "$dir" || die "$dir holds files this script did not make; left in place"
}

case $action in
    start) start ;;
    stop) stop ;;
    *) die "usage: $0 start|stop DIR" ;;
esac
