#!/usr/bin/env bash
# Discovery bench: a data source of TABLES tables (5,000), each with five
# numeric columns (a key, a code, two amounts, a quantity) and ROWS rows (20),
# read by "vamor --discover" (the catalog, the keys, a sample of each table);
# beside it the baseline reads the same sample of every table with the
# database's own shell (sqlite3, or psql with --pg) in the same invocation.
#
#   bench/discover.sh [--tables N] [--rows N] [--runs N] [--pg] [--vamor PATH]
#
# --pg uses the PostgreSQL test server (VAMOR_TEST_PG; source the env.sh of
# tests/servers.sh first). Prints the best times, their ratio and Vamor's
# peak memory. Target: the whole source read in under 60 s.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
tables=5000 rows=20 runs=3 pg=0
while [ $# -gt 0 ]; do
  case "$1" in
    --tables) tables=$2; shift 2 ;;
    --rows) rows=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --pg) pg=1; shift ;;
    --vamor) vamor=$2; shift 2 ;;
    *) echo "discover.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -x "$vamor" ] || { echo "discover.sh: program not found: $vamor" >&2; exit 2; }
template=${VAMOR_TEMPLATE:-$(dirname "$vamor")/Vamor.vmt}
[ -f "$template" ] || { echo "discover.sh: project template Vamor.vmt not found" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vamor-discover.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

# The tables and their rows, in SQL both engines read.
{
  echo "BEGIN;"
  for t in $(seq 1 "$tables"); do
    name=$(printf 'db_t%05d' "$t")
    echo "CREATE TABLE $name (id INTEGER PRIMARY KEY, cod_articol INTEGER, valoare DECIMAL(15,2), tva DECIMAL(15,2), cantitate DECIMAL(12,3));"
    printf 'INSERT INTO %s SELECT i, 1000 + i, (i * 37 %% 50 + 1) * 25000, (i * 37 %% 50 + 1) * 4750, i * 3 + 0.125 FROM %s;\n' \
      "$name" "$([ "$pg" = 1 ] && echo "generate_series(1, $rows) AS g(i)" || echo "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows) SELECT i FROM n)")"
    # A server keeps a lock per table created until the commit.
    [ $((t % 200)) = 0 ] && echo "COMMIT; BEGIN;"
  done
  echo "COMMIT;"
} > "$work/tables.sql"
# The baseline: the first 1,000 rows of every table.
for t in $(seq 1 "$tables"); do printf 'SELECT id, cod_articol, valoare, tva, cantitate FROM db_t%05d LIMIT 1000;\n' "$t"; done > "$work/read.sql"

if [ "$pg" = 1 ]; then
  [ -n "${VAMOR_TEST_PG:-}" ] || { echo "discover.sh: VAMOR_TEST_PG is not set" >&2; exit 2; }
  conn_value() { sed -n "s/.*[;^]$1=\([^;]*\).*/\1/p" <<<";$VAMOR_TEST_PG"; }
  export PGHOST=$(conn_value Server) PGPORT=$(conn_value Port) PGDATABASE=$(conn_value Database)
  export PGUSER=$(conn_value Uid) PGPASSWORD=$(conn_value Pwd) PGOPTIONS='-c client_min_messages=warning'
  # The bench's own schema: its tables alone are read.
  schema=vamor_discover_bench
  # Dropped a few hundred tables at a time: a server keeps a lock for each
  # table of a transaction.
  drop_schema() {
    psql -X -q -At -c "SELECT 'DROP TABLE ' || schemaname || '.' || tablename || ';' FROM pg_tables WHERE schemaname = '$schema'" |
      awk '{ print } NR % 200 == 0 { print "COMMIT; BEGIN;" } BEGIN { print "BEGIN;" } END { print "COMMIT;" }' |
      psql -X -q >/dev/null
    psql -X -q -c "DROP SCHEMA IF EXISTS $schema CASCADE" >/dev/null
  }
  drop_schema
  psql -X -q -v ON_ERROR_STOP=1 -c "CREATE SCHEMA $schema;" >/dev/null
  cleanup() { drop_schema 2>/dev/null; rm -rf "$work"; }
  export PGOPTIONS="$PGOPTIONS -c search_path=$schema"
  echo "Creating $tables PostgreSQL tables..."
  psql -X -q -v ON_ERROR_STOP=1 -f "$work/tables.sql" >/dev/null
  conn="$VAMOR_TEST_PG;Pqopt={options=-csearch_path=$schema}"
  baseline() { psql -X -q -v ON_ERROR_STOP=1 -f "$work/read.sql" > /dev/null; }
  label="PostgreSQL, $tables tables of $rows rows; baseline psql reading each table's sample"
else
  echo "Creating $tables SQLite tables..."
  sqlite3 -bail "$work/source.db" < "$work/tables.sql"
  conn="Provider=SQLite;Data Source=$work/source.db"
  baseline() { sqlite3 -bail "$work/source.db" < "$work/read.sql" > /dev/null; }
  label="SQLite, $tables tables of $rows rows; baseline sqlite3 reading each table's sample"
fi

cp "$template" "$work/p.vmd"; chmod u+w "$work/p.vmd"
sqlite3 "$work/p.vmd" "INSERT INTO tConn (IdConn, IdConnType, Description, ConnString, IntegratedSecurity, Offline) VALUES (1, 6, 'Firma', '$conn', 0, 0);"
mkdir -p "$work/home"

best() { if [ -z "$1" ] || awk "BEGIN{exit !($2 < $1)}"; then echo "$2"; else echo "$1"; fi; }
best_v= best_b= mem=0
for run in $(seq 1 "$runs"); do
  /usr/bin/time -f '%e' -o "$work/tb" bash -c "$(declare -f baseline); $(declare -p work 2>/dev/null); baseline"
  /usr/bin/time -f '%e %M' -o "$work/tv" env VAMOR_HOME="$work/home" "$vamor" --discover "$work/p.vmd" > "$work/out.csv" 2> "$work/err" || {
    echo "discover.sh: vamor --discover failed" >&2; tail -5 "$work/err" >&2; exit 1; }
  read -r tb < "$work/tb"; read -r tv mv < "$work/tv"
  proposed=$(grep -c ',"da","' "$work/out.csv" || true)
  echo "run $run: baseline ${tb}s, vamor ${tv}s ${mv} KB, $(($(wc -l < "$work/out.csv") - 1)) columns listed, $proposed proposed"
  best_b=$(best "$best_b" "$tb"); best_v=$(best "$best_v" "$tv"); [ "$mv" -gt "$mem" ] && mem=$mv
done
[ "$proposed" = $((tables * 2)) ] || { echo "discover.sh: $proposed columns proposed, expected $((tables * 2))" >&2; exit 1; }
awk -v v="$best_v" -v b="$best_b" -v m="$mem" -v label="$label" 'BEGIN {
  printf "%s\nbaseline: %.2f s\nvamor --discover: %.2f s (target < 60 s), peak memory %.1f MB\nratio vamor/baseline: %.2f\n", label, b, v, m / 1024, v / b }'
