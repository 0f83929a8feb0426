#!/usr/bin/env bash
# Private database servers for the tests.
#
#   tests/servers.sh start DIR   start PostgreSQL 15 (with a streaming standby),
#                                MariaDB and a three-node MariaDB Galera cluster
#                                on free loopback ports with their files in DIR,
#                                create a test user and database in each, write
#                                DIR/env.sh
#   tests/servers.sh stop DIR    stop every server started in DIR
#   tests/servers.sh restart-galera-node DIR N
#                                start Galera node N (1-3) again after a test
#                                killed it; it joins the running nodes
#
# DIR/env.sh exports the ODBC connection strings the tests read:
#   VAMOR_TEST_PG       "Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=…;…"
#   VAMOR_TEST_PG_STANDBY  the same database on a streaming standby of it
#   VAMOR_TEST_MARIADB  "Driver=MariaDB Unicode;Server=127.0.0.1;Port=…;…;Option=2;"
#   VAMOR_TEST_GALERA1, 2, 3  the same through each node of the cluster
#   VAMOR_TEST_GALERA_DIR   the cluster's folder (nodeN/server.pid: a node's process)
#   VAMOR_TEST_SERVERS      this script, to start a killed node again
# (Option=2 is the connector's FOUND_ROWS flag: UPDATE counts the rows it
# matched, as every other engine does, not only the rows whose values changed.)
#
# A server that cannot start is reported loudly and makes the exit status
# non-zero; the other server's variable is written all the same. Whether a
# missing server fails the run is the caller's decision (CI=true: it does).
#
# Works as root (PostgreSQL then runs as the `postgres` user, so DIR must be
# reachable by it; MariaDB runs as root with --user=root) and as an ordinary user.

set -u

PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
TEST_USER=vamor_test
TEST_DB=vamor_test
TEST_PASSWORD=Vamor-test-1

die() { echo "servers.sh: $*" >&2; exit 2; }

loud() {
    echo "" >&2
    echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
    echo "!!! servers.sh: $*" >&2
    echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
    echo "" >&2
}

# A TCP port on 127.0.0.1 that nothing listens on right now.
free_port() {
    python3 - <<'EOF'
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()
EOF
}

# Runs a command as the PostgreSQL user when we are root.
as_pg() {
    if [ "$(id -u)" = 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

# ---- PostgreSQL ----

# pg_start DATA LOG SOCK OPTIONS: starts the server of DATA on a free port
# (three tries) and prints the port; prints nothing when it did not start.
pg_start() {
    local data=$1 log=$2 sock=$3 options=$4 attempt port
    for attempt in 1 2 3; do
        port=$(free_port)
        if as_pg "$PG_BIN/pg_ctl" -D "$data" -l "$log" -w -t 30 \
                -o "-c listen_addresses=127.0.0.1 -p $port -k $sock -c fsync=off $options" \
                start >/dev/null 2>&1; then
            echo "$port"
            return 0
        fi
    done
}

start_pg() {
    local dir=$1
    local data=$dir/pg/data sock=$dir/pg/sock log=$dir/pg/server.log port
    if [ ! -x "$PG_BIN/pg_ctl" ]; then
        loud "PostgreSQL: $PG_BIN/pg_ctl not found (install postgresql-15)"
        return 1
    fi
    rm -rf "$dir/pg"
    mkdir -p "$data" "$sock" || return 1
    if [ "$(id -u)" = 0 ]; then
        chown -R postgres: "$dir/pg" || return 1
        if ! runuser -u postgres -- test -w "$data"; then
            loud "PostgreSQL: the postgres user cannot reach $data (make every folder above it searchable)"
            return 1
        fi
    fi
    local pwfile=$dir/pg/pw
    printf '%s\n' "$TEST_PASSWORD" > "$pwfile" && chmod 600 "$pwfile"
    [ "$(id -u)" = 0 ] && chown postgres: "$pwfile"
    if ! as_pg "$PG_BIN/initdb" -D "$data" -U postgres --pwfile="$pwfile" -E UTF8 --locale=C.UTF-8 \
            --auth-local=trust --auth-host=scram-sha-256 --no-sync >"$dir/pg/initdb.log" 2>&1; then
        loud "PostgreSQL: initdb failed, see $dir/pg/initdb.log"
        tail -5 "$dir/pg/initdb.log" >&2
        return 1
    fi
    rm -f "$pwfile"
    port=$(pg_start "$data" "$log" "$sock" "-c synchronous_commit=off -c full_page_writes=off")
    if [ -z "$port" ]; then
        loud "PostgreSQL: the server did not start, see $log"
        tail -5 "$log" >&2
        return 1
    fi
    local psql=("$PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 -h "$sock" -p "$port" -U postgres -d postgres)
    if ! as_pg "${psql[@]}" -c "CREATE ROLE $TEST_USER LOGIN PASSWORD '$TEST_PASSWORD'" \
            -c "CREATE DATABASE $TEST_DB OWNER $TEST_USER" >>"$log" 2>&1; then
        loud "PostgreSQL: could not create the test user and database, see $log"
        return 1
    fi
    echo "$port" > "$dir/pg/port"
    echo "export VAMOR_TEST_PG=\"Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=$port;Database=$TEST_DB;Uid=$TEST_USER;Pwd=$TEST_PASSWORD;\"" >> "$dir/env.sh"
    echo "PostgreSQL listening on 127.0.0.1:$port (files in $dir/pg)"
    start_pg_standby "$dir" "$port" || loud "PostgreSQL standby is NOT available: VAMOR_TEST_PG_STANDBY is not set"
    return 0
}

# A streaming standby of the server above: a base backup of it that follows
# its WAL (standby.signal and primary_conninfo written by pg_basebackup -R),
# open for reading (hot_standby).
start_pg_standby() {
    local dir=$1 primary=$2
    local data=$dir/pg/standby sock=$dir/pg/sock log=$dir/pg/standby.log port
    if ! as_pg env PGPASSWORD="$TEST_PASSWORD" "$PG_BIN/pg_basebackup" -h 127.0.0.1 -p "$primary" -U postgres \
            -D "$data" -R -X stream --checkpoint=fast --no-sync >"$dir/pg/basebackup.log" 2>&1; then
        loud "PostgreSQL standby: pg_basebackup failed, see $dir/pg/basebackup.log"
        return 1
    fi
    port=$(pg_start "$data" "$log" "$sock" "-c hot_standby=on")
    [ -n "$port" ] || { loud "PostgreSQL standby: the server did not start, see $log"; return 1; }
    echo "export VAMOR_TEST_PG_STANDBY=\"Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=$port;Database=$TEST_DB;Uid=$TEST_USER;Pwd=$TEST_PASSWORD;\"" >> "$dir/env.sh"
    echo "PostgreSQL standby listening on 127.0.0.1:$port, following 127.0.0.1:$primary"
}

stop_pg() {
    local dir=$1 data
    for data in "$dir/pg/standby" "$dir/pg/data"; do
        [ -f "$data/postmaster.pid" ] || continue
        as_pg "$PG_BIN/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 \
            || echo "servers.sh: PostgreSQL in $data did not stop cleanly" >&2
    done
}

# ---- MariaDB ----

mariadb_server_bin() {
    local b
    for b in mariadbd mysqld; do
        command -v "$b" >/dev/null 2>&1 && { command -v "$b"; return; }
        [ -x "/usr/sbin/$b" ] && { echo "/usr/sbin/$b"; return; }
    done
}

start_maria() {
    local dir=$1
    local root=$dir/maria data=$dir/maria/data sock=$dir/maria/mysqld.sock log=$dir/maria/server.log
    local server install client admin
    server=$(mariadb_server_bin)
    install=$(command -v mariadb-install-db || command -v mysql_install_db)
    client=$(command -v mariadb || command -v mysql)
    admin=$(command -v mariadb-admin || command -v mysqladmin)
    if [ -z "$server" ] || [ -z "$install" ] || [ -z "$client" ]; then
        loud "MariaDB: server programs not found (install mariadb-server)"
        return 1
    fi
    rm -rf "$root"
    mkdir -p "$data" || return 1
    local me
    me=$(id -un)
    if ! "$install" --no-defaults --datadir="$data" --user="$me" --auth-root-authentication-method=normal \
            --skip-test-db --skip-name-resolve >"$root/install.log" 2>&1; then
        loud "MariaDB: mariadb-install-db failed, see $root/install.log"
        tail -5 "$root/install.log" >&2
        return 1
    fi
    local attempt port pid
    for attempt in 1 2 3; do
        port=$(free_port)
        setsid "$server" --no-defaults --datadir="$data" --socket="$sock" --port="$port" \
            --bind-address=127.0.0.1 --pid-file="$root/mysqld.pid" --log-error="$log" --user="$me" \
            --skip-name-resolve --skip-log-bin --innodb-buffer-pool-size=32M --innodb-log-file-size=16M \
            --innodb-flush-log-at-trx-commit=0 --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
            </dev/null >/dev/null 2>&1 &
        pid=$!
        local i
        for i in $(seq 1 100); do
            if "$admin" --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1; then
                break
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if "$admin" --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1; then
            break
        fi
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        port=
    done
    if [ -z "$port" ]; then
        loud "MariaDB: the server did not start, see $log"
        tail -5 "$log" >&2
        return 1
    fi
    echo "$pid" > "$root/server.pid"
    if ! "$client" --no-defaults --socket="$sock" -uroot -e "
            CREATE DATABASE $TEST_DB CHARACTER SET utf8mb4;
            CREATE USER '$TEST_USER'@'127.0.0.1' IDENTIFIED BY '$TEST_PASSWORD';
            CREATE USER '$TEST_USER'@'localhost' IDENTIFIED BY '$TEST_PASSWORD';
            GRANT ALL PRIVILEGES ON $TEST_DB.* TO '$TEST_USER'@'127.0.0.1';
            GRANT ALL PRIVILEGES ON $TEST_DB.* TO '$TEST_USER'@'localhost';" >>"$log" 2>&1; then
        loud "MariaDB: could not create the test user and database, see $log"
        return 1
    fi
    echo "$port" > "$root/port"
    echo "export VAMOR_TEST_MARIADB=\"Driver=MariaDB Unicode;Server=127.0.0.1;Port=$port;Database=$TEST_DB;Uid=$TEST_USER;Pwd=$TEST_PASSWORD;Option=2;\"" >> "$dir/env.sh"
    echo "MariaDB listening on 127.0.0.1:$port (files in $root)"
}

stop_maria() {
    local dir=$1 pid
    [ -f "$dir/maria/server.pid" ] || return 0
    pid=$(cat "$dir/maria/server.pid")
    rm -f "$dir/maria/server.pid"
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null
    local i
    for i in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "servers.sh: MariaDB ($pid) did not stop in 10 s; killing it" >&2
    kill -KILL "$pid" 2>/dev/null
}

# ---- main ----

usage="usage: $0 start|stop DIR, or $0 restart-galera-node DIR N"
[ $# -eq 2 ] || { [ $# -eq 3 ] && [ "$1" = restart-galera-node ]; } || die "$usage"
# The Galera cluster (start_galera, stop_galera).
source "$(dirname "$0")/galera.sh"

cmd=$1
mkdir -p "$2" || die "cannot create $2"
dir=$(cd "$2" && pwd -P)

case $cmd in
start)
    stop_pg "$dir"
    stop_maria "$dir"
    stop_galera "$dir"
    # The postgres and mysql users must be able to pass through DIR.
    [ "$(id -u)" = 0 ] && chmod a+x "$dir"
    : > "$dir/env.sh"
    status=0
    start_pg "$dir" & pg_job=$!
    start_maria "$dir" & maria_job=$!
    start_galera "$dir" & galera_job=$!
    wait "$pg_job" || { status=1; loud "PostgreSQL is NOT available: VAMOR_TEST_PG is not set"; }
    wait "$maria_job" || { status=1; loud "MariaDB is NOT available: VAMOR_TEST_MARIADB is not set"; }
    wait "$galera_job" || { status=1; loud "The Galera cluster is NOT available: VAMOR_TEST_GALERA1..3 are not set"; }
    echo "Connection strings written to $dir/env.sh (source it before running the tests)"
    exit $status
    ;;
stop)
    stop_pg "$dir"
    stop_maria "$dir"
    stop_galera "$dir"
    ;;
restart-galera-node)
    restart_galera_node "$dir" "$3"
    ;;
*)
    die "$usage"
    ;;
esac
