#!/usr/bin/env bash
# Shows that a row-limited recordset reads one row: opens "SELECT * FROM big"
# over a 1,000,000-row table once with a row limit of 1 and once in full, in
# separate processes, and prints time, peak memory and their ratios.
#
#   bench/rowlimit.sh [ROWS]
#
# Engines: the built-in SQLite provider and SQLite through ODBC on the same
# file; PostgreSQL and MariaDB through ODBC as well when VAMOR_TEST_PG and
# VAMOR_TEST_MARIADB are set (source the env.sh of tests/servers.sh first). VAMOR_BENCH_BUILD names the build folder
# (default: build-bench beside this folder).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
rows=${1:-1000000}
build=${VAMOR_BENCH_BUILD:-$root/build-bench}

command -v sqlite3 >/dev/null || { echo "rowlimit.sh: sqlite3 is needed" >&2; exit 2; }
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target vamor_bench_rowlimit -j2 >/dev/null
prog=$(find "$build" -type f -name vamor_bench_rowlimit -perm -u+x | head -1)
[ -x "$prog" ] || { echo "rowlimit.sh: the bench program was not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/big.db

echo "Building a $rows-row table..."
sqlite3 "$db" >/dev/null <<SQL
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
CREATE TABLE big (id INTEGER PRIMARY KEY, amount DECIMAL(18,2), name VARCHAR(40));
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO big SELECT i, i * 1000 + 0.5, 'row number ' || i FROM n;
SQL

field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

# measure LABEL CONNSTRING
measure() {
    local label=$1 conn=$2 limited full
    limited=$("$prog" "$conn" "SELECT * FROM big" 1)
    full=$("$prog" "$conn" "SELECT * FROM big" 0)
    local lr lt lp lb fr ft fp fb
    lr=$(field rows <<<"$limited"); lt=$(field seconds <<<"$limited"); lp=$(field peak_kb <<<"$limited"); lb=$(field base_kb <<<"$limited")
    fr=$(field rows <<<"$full"); ft=$(field seconds <<<"$full"); fp=$(field peak_kb <<<"$full"); fb=$(field base_kb <<<"$full")
    printf '\n%s\n' "$label"
    printf '  %-12s %10s %12s %14s %16s\n' "" rows seconds "peak KiB" "query KiB"
    printf '  %-12s %10s %12s %14s %16s\n' "row limit 1" "$lr" "$lt" "$lp" "$((lp - lb))"
    printf '  %-12s %10s %12s %14s %16s\n' "full read" "$fr" "$ft" "$fp" "$((fp - fb))"
    awk -v lt="$lt" -v ft="$ft" -v lq="$((lp - lb))" -v fq="$((fp - fb))" 'BEGIN {
        if (lt < 0.0001) lt = 0.0001; if (lq < 1) lq = 1;
        printf "  full / limited: time x%.0f, memory used by the query x%.0f\n", ft / lt, fq / lq
        if (fq / lq < 10) print "  !!! the limited query cost nearly as much as the full read: the driver read far more than one row" }'
    if [ "$lr" != 1 ]; then
        echo "  !!! the limited recordset holds $lr rows, not 1" >&2
        return 1
    fi
}

status=0
measure "Built-in SQLite (Provider=SQLite)" "Provider=SQLite;Data Source=$db" || status=1
measure "SQLite through ODBC (Driver=SQLite3)" "Driver=SQLite3;Database=$db" || status=1

if [ -n "${VAMOR_TEST_PG:-}" ]; then
    echo
    echo "Building the same table on PostgreSQL..."
    "$prog" "$VAMOR_TEST_PG" --exec "DROP TABLE IF EXISTS big" >/dev/null
    "$prog" "$VAMOR_TEST_PG" --exec "CREATE TABLE big AS SELECT i AS id, (i * 1000 + 0.5)::DECIMAL(18,2) AS amount, ('row number ' || i)::VARCHAR(40) AS name FROM generate_series(1, $rows) AS i" >/dev/null
    # psqlodbc reads a whole result through libpq unless it fetches through a
    # cursor (UseDeclareFetch=1): the row limit then only trims what it keeps.
    # Vamor asks for the cursor in its own connection string; the machine's
    # driver settings play no part, so they are read from a private copy
    # without any UseDeclareFetch line.
    sysini=$(odbcinst -j 2>/dev/null | sed -n 's/^DRIVERS[ .]*: *//p')
    mkdir -p "$work/odbc"
    grep -v '^ *UseDeclareFetch *=' "${sysini:-/etc/odbcinst.ini}" > "$work/odbc/odbcinst.ini"
    touch "$work/odbc/odbc.ini"
    ODBCSYSINI=$work/odbc measure "PostgreSQL through ODBC, connection string as given (Vamor adds UseDeclareFetch=1)" "$VAMOR_TEST_PG" || status=1
    echo "  (for comparison, the driver without cursors: UseDeclareFetch=0 in the string)"
    ODBCSYSINI=$work/odbc measure "PostgreSQL through ODBC with UseDeclareFetch=0" "${VAMOR_TEST_PG%;};UseDeclareFetch=0;" || true
    "$prog" "$VAMOR_TEST_PG" --exec "DROP TABLE big" >/dev/null
else
    echo
    echo "(PostgreSQL skipped: VAMOR_TEST_PG is not set)"
fi

if [ -n "${VAMOR_TEST_MARIADB:-}" ]; then
    echo
    echo "Building the same table on MariaDB..."
    m=$VAMOR_TEST_MARIADB
    "$prog" "$m" --exec "DROP TABLE IF EXISTS big" >/dev/null
    "$prog" "$m" --exec "DROP TABLE IF EXISTS big_digits" >/dev/null
    "$prog" "$m" --exec "CREATE TABLE big_digits (x INT)" >/dev/null
    "$prog" "$m" --exec "INSERT INTO big_digits VALUES (0),(1),(2),(3),(4),(5),(6),(7),(8),(9)" >/dev/null
    n="a.x + 10*b.x + 100*c.x + 1000*d.x + 10000*e.x + 100000*f.x + 1"
    "$prog" "$m" --exec "CREATE TABLE big AS SELECT $n AS id, CAST(($n) * 1000 + 0.5 AS DECIMAL(18,2)) AS amount, CAST(CONCAT('row number ', $n) AS CHAR(40)) AS name FROM big_digits a, big_digits b, big_digits c, big_digits d, big_digits e, big_digits f WHERE $n <= $rows" >/dev/null
    measure "MariaDB through ODBC (Driver=MariaDB Unicode)" "$m" || status=1
    "$prog" "$m" --exec "DROP TABLE big" >/dev/null
    "$prog" "$m" --exec "DROP TABLE big_digits" >/dev/null
else
    echo "(MariaDB skipped: VAMOR_TEST_MARIADB is not set)"
fi
exit $status
