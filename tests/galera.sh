# A three-node MariaDB Galera cluster on loopback for the tests; sourced by
# tests/servers.sh (which defines free_port, loud, mariadb_server_bin and
# the test user). Each node has its own folder under DIR/galera/nodeN, its
# own client, group (gcomm), IST and SST ports; node 1 bootstraps the
# cluster with the test database, nodes 2 and 3 join it by an rsync state
# transfer. As root the nodes run as the `mysql` user, so that the rsync
# transfer may write their folders. The test user may change the provider's
# options (SUPER), so that a test can cut a node off its cluster, and read
# the cluster's members (mysql.wsrep_cluster_members), as the program does
# to learn that a node it lost has left the cluster.

galera_provider() {
    local p
    for p in /usr/lib/galera/libgalera_smm.so /usr/lib/libgalera_smm.so /usr/lib/x86_64-linux-gnu/galera/libgalera_smm.so; do
        [ -f "$p" ] && { echo "$p"; return; }
    done
}

# galera_ping SOCK: true when the node answers and is synced with its cluster.
galera_synced() {
    local sock=$1 client
    client=$(command -v mariadb || command -v mysql)
    [ "$("$client" --no-defaults --socket="$sock" -uroot -N -B \
        -e "SHOW STATUS LIKE 'wsrep_local_state_comment'" 2>/dev/null | cut -f2)" = Synced ]
}

start_galera_node() {
    local dir=$1 n=$2 cluster=$3 runas=$4
    local root=$dir/galera/node$n server provider
    server=$(mariadb_server_bin)
    provider=$(galera_provider)
    # A node started again keeps its ports.
    local port gport iport sport name
    for name in port gport iport sport; do
        if [ -s "$root/$name" ]; then
            printf -v "$name" '%s' "$(cat "$root/$name")"
        else
            printf -v "$name" '%s' "$(free_port)"
            echo "${!name}" > "$root/$name"
        fi
    done
    local extra=()
    [ -z "$cluster" ] && extra+=(--wsrep-new-cluster)
    setsid "$server" --no-defaults --datadir="$root/data" --socket="$root/mysqld.sock" --port="$port" \
        --bind-address=127.0.0.1 --pid-file="$root/mysqld.pid" --log-error="$root/server.log" --user="$runas" \
        --skip-name-resolve --innodb-buffer-pool-size=32M --innodb-log-file-size=16M \
        --innodb-flush-log-at-trx-commit=0 --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
        --binlog-format=ROW --default-storage-engine=InnoDB --innodb-autoinc-lock-mode=2 \
        --wsrep-on=ON --wsrep-provider="$provider" --wsrep-cluster-name=vamor_test \
        --wsrep-cluster-address="gcomm://$cluster" --wsrep-node-name="node$n" \
        --wsrep-node-address="127.0.0.1:$gport" \
        --wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$gport;ist.recv_addr=127.0.0.1:$iport;gcache.size=32M" \
        --wsrep-sst-method=rsync --wsrep-sst-receive-address="127.0.0.1:$sport" \
        "${extra[@]}" </dev/null >/dev/null 2>&1 &
    echo $! > "$root/server.pid"
    local i
    for i in $(seq 1 600); do
        galera_synced "$root/mysqld.sock" && return 0
        kill -0 "$(cat "$root/server.pid")" 2>/dev/null || break
        sleep 0.1
    done
    loud "Galera: node $n did not join its cluster, see $root/server.log"
    tail -5 "$root/server.log" >&2
    return 1
}

start_galera() {
    local dir=$1 server install client provider runas
    server=$(mariadb_server_bin)
    install=$(command -v mariadb-install-db || command -v mysql_install_db)
    client=$(command -v mariadb || command -v mysql)
    provider=$(galera_provider)
    if [ -z "$server" ] || [ -z "$install" ] || [ -z "$provider" ] || ! command -v rsync >/dev/null; then
        loud "Galera: mariadb-server, galera-4 or rsync is missing"
        return 1
    fi
    runas=$(id -un)
    [ "$(id -u)" = 0 ] && runas=mysql
    rm -rf "$dir/galera"
    local n
    for n in 1 2 3; do mkdir -p "$dir/galera/node$n/data" || return 1; done
    if ! "$install" --no-defaults --datadir="$dir/galera/node1/data" --user="$runas" \
            --auth-root-authentication-method=normal --skip-test-db --skip-name-resolve \
            >"$dir/galera/install.log" 2>&1; then
        loud "Galera: mariadb-install-db failed, see $dir/galera/install.log"
        return 1
    fi
    [ "$(id -u)" = 0 ] && chown -R "$runas": "$dir/galera"
    start_galera_node "$dir" 1 "" "$runas" || return 1
    local sock1=$dir/galera/node1/mysqld.sock
    if ! "$client" --no-defaults --socket="$sock1" -uroot -e "
            CREATE DATABASE $TEST_DB CHARACTER SET utf8mb4;
            CREATE USER '$TEST_USER'@'127.0.0.1' IDENTIFIED BY '$TEST_PASSWORD';
            CREATE USER '$TEST_USER'@'localhost' IDENTIFIED BY '$TEST_PASSWORD';
            GRANT ALL PRIVILEGES ON $TEST_DB.* TO '$TEST_USER'@'127.0.0.1';
            GRANT ALL PRIVILEGES ON $TEST_DB.* TO '$TEST_USER'@'localhost';
            GRANT SUPER ON *.* TO '$TEST_USER'@'127.0.0.1';
            GRANT SELECT ON mysql.wsrep_cluster_members TO '$TEST_USER'@'127.0.0.1';" >>"$dir/galera/install.log" 2>&1; then
        loud "Galera: could not create the test user and database"
        return 1
    fi
    local first
    first="127.0.0.1:$(cat "$dir/galera/node1/gport")"
    start_galera_node "$dir" 2 "$first" "$runas" || return 1
    start_galera_node "$dir" 3 "$first" "$runas" || return 1
    for n in 1 2 3; do
        echo "export VAMOR_TEST_GALERA$n=\"Driver=MariaDB Unicode;Server=127.0.0.1;Port=$(cat "$dir/galera/node$n/port");Database=$TEST_DB;Uid=$TEST_USER;Pwd=$TEST_PASSWORD;Option=2;\"" >> "$dir/env.sh"
    done
    echo "export VAMOR_TEST_GALERA_DIR=\"$dir/galera\"" >> "$dir/env.sh"
    echo "export VAMOR_TEST_SERVERS=\"$(cd "$(dirname "$0")" && pwd -P)/servers.sh\"" >> "$dir/env.sh"
    echo "Galera cluster of three nodes on 127.0.0.1 ports $(cat "$dir"/galera/node*/port | tr '\n' ' ')(files in $dir/galera)"
}

# restart_galera_node DIR N: starts node N again after it stopped (a test
# killed it), joining the nodes that run; waits until it is synced.
restart_galera_node() {
    local dir=$1 n=$2 other cluster="" runas
    runas=$(id -un)
    [ "$(id -u)" = 0 ] && runas=mysql
    for other in 1 2 3; do
        [ "$other" = "$n" ] && continue
        cluster="$cluster${cluster:+,}127.0.0.1:$(cat "$dir/galera/node$other/gport")"
    done
    start_galera_node "$dir" "$n" "$cluster" "$runas"
}

stop_galera() {
    local dir=$1 n pid i
    for n in 3 2 1; do
        [ -f "$dir/galera/node$n/server.pid" ] || continue
        pid=$(cat "$dir/galera/node$n/server.pid")
        rm -f "$dir/galera/node$n/server.pid"
        kill -0 "$pid" 2>/dev/null || continue
        kill -TERM "$pid" 2>/dev/null
        for i in $(seq 1 150); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && { echo "servers.sh: Galera node $n ($pid) did not stop; killing it" >&2; kill -KILL "$pid"; }
    done
    return 0
}
