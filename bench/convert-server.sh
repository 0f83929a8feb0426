#!/usr/bin/env bash
# Conversion bench on server databases: a table of ROWS rows with three money
# columns (BIGINT, DECIMAL(18,2), DOUBLE) on PostgreSQL and on MariaDB,
# converted to new lei by the command-line run of Vamor, and the same
# statements run by `psql` and `mariadb` on an identical copy of the table in
# the same invocation: for each field the recovery column of the field's own
# type is added, then the filled conversion template runs in one transaction.
# Prints, for each server, both times (best of RUNS), their ratio and Vamor's
# peak memory; Vamor is also run on a table of SMALL rows, so that the two
# peaks show whether its memory grows with the row count.
#
#   source /tmp/vsrv/env.sh   # VAMOR_TEST_PG and VAMOR_TEST_MARIADB
#   bench/convert-server.sh [--rows N] [--small N] [--runs N] [--only pg|mariadb] [--vamor PATH]
#                           [--no-totals]
#
# Vamor reads its control totals (sums before and after, in the field's
# transaction) unless --no-totals is given: work the clients do not do.
#
# Target: Vamor at most 1.15 times the client's time on each server with the
# control totals, 1.05 with --no-totals, and the same peak memory at SMALL
# and at ROWS rows.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
rows=1000000
small=100000
runs=3
only=
vamor_options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --rows) rows=$2; shift 2 ;;
    --small) small=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --vamor) vamor=$2; shift 2 ;;
    --no-totals) vamor_options+=(--no-totals); shift ;;
    *) echo "convert-server.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -x "$vamor" ] || { echo "convert-server.sh: program not found: $vamor" >&2; exit 2; }
template=${VAMOR_TEMPLATE:-$(dirname "$vamor")/Vamor.vmt}
[ -f "$template" ] || { echo "convert-server.sh: project template Vamor.vmt not found" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vamor-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
fields=(suma tva curs)

# One attribute of an ODBC connection string: attr "Server" "$conn".
attr() {
  printf '%s' "$2" | tr ';' '\n' | awk -F= -v k="$1" 'tolower($1) == tolower(k) { sub(/^[^=]*=/, ""); print; exit }'
}

# The client of one server, reading statements from standard input: its
# command line in the array `cmd`.
client_cmd() { # engine
  local conn
  case "$1" in
    pg)
      conn=$VAMOR_TEST_PG
      cmd=(env PGPASSWORD="$(attr Pwd "$conn")" psql -X -q -v ON_ERROR_STOP=1 -h "$(attr Server "$conn")"
           -p "$(attr Port "$conn")" -U "$(attr Uid "$conn")" -d "$(attr Database "$conn")") ;;
    mariadb)
      conn=$VAMOR_TEST_MARIADB
      cmd=(env MYSQL_PWD="$(attr Pwd "$conn")" mariadb --no-defaults -B -N -h "$(attr Server "$conn")"
           -P "$(attr Port "$conn")" -u "$(attr Uid "$conn")" -D "$(attr Database "$conn")") ;;
  esac
}
client() { # engine [client options...]
  local cmd engine=$1; shift
  client_cmd "$engine"
  "${cmd[@]}" "$@"
}

# The declared type of a column, as the server writes it.
column_type() { # engine table column
  case "$1" in
    pg) echo "SELECT format_type(atttypid, atttypmod) FROM pg_attribute WHERE attrelid = '$2'::regclass AND attname = lower('$3')" | client pg -t -A ;;
    mariadb) echo "SELECT COLUMN_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '$2' AND COLUMN_NAME = '$3'" | client mariadb ;;
  esac
}

# A fresh table vanzari of n rows: the same values every time.
make_table() { # engine n
  case "$1" in
    pg) client pg <<SQL
SET client_min_messages = warning;
DROP TABLE IF EXISTS vanzari;
CREATE TABLE vanzari (id BIGINT PRIMARY KEY, suma BIGINT, tva DECIMAL(18,2), curs DOUBLE PRECISION);
INSERT INTO vanzari
  SELECT i, (i * 7919) % 100000000 - 1000000, ((i * 104729) % 1000000000) / 100.0,
         CASE WHEN i % 10 = 0 THEN NULL ELSE ((i * 15485863) % 100000000) / 7.0 END
  FROM generate_series(1::bigint, $2) AS n(i);
VACUUM ANALYZE vanzari;
SQL
    ;;
    mariadb) client mariadb <<SQL
DROP TABLE IF EXISTS vanzari;
CREATE TABLE vanzari (id BIGINT PRIMARY KEY, suma BIGINT, tva DECIMAL(18,2), curs DOUBLE) ENGINE=InnoDB;
INSERT INTO vanzari
  SELECT i, (i * 7919) % 100000000 - 1000000, ((i * 104729) % 1000000000) / 100.0,
         CASE WHEN i % 10 = 0 THEN NULL ELSE ((i * 15485863) % 100000000) / 7.0 END
  FROM (SELECT CAST(seq AS SIGNED) AS i FROM seq_1_to_$2) AS n;
ANALYZE TABLE vanzari;
SQL
    ;;
  esac > /dev/null
}

# What the conversion left: totals of every amount and recovery column, and
# the recovery columns' types.
fingerprint() { # engine
  local sums="SELECT SUM(suma), SUM(tva), SUM(CAST(curs AS DECIMAL(38,4))), SUM(suma_VM), SUM(tva_VM), SUM(CAST(curs_VM AS DECIMAL(38,4))), COUNT(suma_VM), COUNT(tva_VM), COUNT(curs_VM) FROM vanzari"
  if [ "$1" = pg ]; then echo "$sums" | client pg -t -A; else echo "$sums" | client mariadb; fi
  for f in "${fields[@]}"; do column_type "$1" vanzari "${f}_VM"; done
}

# The statements of type 6 from the template, filled for one field of the
# table as it is now (the recovery column takes the field's declared type;
# the rounding keeps the decimals the column keeps, at most the template's).
create_sql=$(sqlite3 "$template" "SELECT CreateFieldSQL FROM tConnType WHERE IdConnType = 6")
convert_sql=$(sqlite3 "$template" "SELECT ConvertSQL FROM tConnType WHERE IdConnType = 6")
shell_statements() { # engine
  local f type decimals s
  for f in "${fields[@]}"; do
    type=$(column_type "$1" vanzari "$f")
    s=${create_sql//\[FIELD_TYPE\]/$type}
    s=${s//\[FIELD_NAME\]/${f}_VM}
    printf '%s;\n' "${s//\[TABLE_NAME\]/vanzari}"
    printf 'BEGIN;\n'
    s=$convert_sql
    decimals=$(printf '%s' "$s" | sed -n 's/.*\[DECIMALS:\([0-9]*\)\].*/\1/p')
    case "$f" in
      suma) decimals=0 ;;                 # an integer column keeps no decimals
      tva) [ "$decimals" -gt 2 ] && decimals=2 ;;  # DECIMAL(18,2)
    esac
    s=$(printf '%s' "$s" | sed "s/\[DECIMALS:[0-9]*\]/$decimals/g")
    s=${s//\[AMOUNT\]/$f}
    s=${s//\[REC_FIELD_NAME\]/${f}_VM}
    s=${s//\[FIELD_NAME\]/$f}
    s=${s//\[TABLE_NAME\]/vanzari}
    s=${s//\[WHERE\]/}
    s=${s//\[AND\]/}
    printf '%s;\n' "$(printf '%s' "$s" | sed 's/\[GO\]/;\n/g')"
    printf 'COMMIT;\n'
  done
}

# Seconds and peak resident kilobytes of one command.
measure() { # output-file command...
  local out=$1; shift
  /usr/bin/time -f '%e %M %U %S' -o "$out" "$@" > "$out.out" 2> "$out.err" || {
    echo "convert-server.sh: command failed: $*" >&2; cat "$out.out" "$out.err" >&2; exit 1; }
}

# A project of one type-6 data source with the table's three fields.
make_project() { # engine
  local conn
  [ "$1" = pg ] && conn=$VAMOR_TEST_PG || conn=$VAMOR_TEST_MARIADB
  cp "$template" "$work/bench.vmd"; chmod u+w "$work/bench.vmd"
  sqlite3 -bail "$work/bench.vmd" <<SQL
INSERT INTO tConn (IdConnType, Description, ConnString, IntegratedSecurity, Offline)
  VALUES (6, 'Bench', '${conn//\'/\'\'}', 0, 0);
INSERT INTO tTable (IdConn, TableName) VALUES (1, 'vanzari');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'suma', 'suma_VM'), (1, 'tva', 'tva_VM'), (1, 'curs', 'curs_VM');
SQL
}

run_vamor() { # engine output-file
  make_project "$1"
  measure "$2" env VAMOR_HOME="$work" "$vamor" --convert "$work/bench.vmd" --to noi --yes "${vamor_options[@]}"
  grep -q '3 campuri din 3 convertite cu succes' "$2.out" || {
    echo "convert-server.sh: Vamor did not convert the three fields:" >&2; cat "$2.out" "$2.err" >&2; exit 1; }
}

run_client() { # engine: on a fresh table
  local cmd
  make_table "$1" "$rows"
  shell_statements "$1" > "$work/shell.sql"
  client_cmd "$1"
  measure "$work/t.client" "${cmd[@]}" < "$work/shell.sql"
}

bench_engine() { # engine name
  local cmd engine=$1 name=$2 best_c= best_v= mem_v=0 mem_small=0 t_small= tc mc uc sc tv mv uv sv a b run
  for run in $(seq 1 "$runs"); do
    # The order alternates: the second run of a pair inherits the server's
    # write-back of the first one's changes.
    if [ $((run % 2)) = 1 ]; then
      run_client "$engine"; a=$(fingerprint "$engine")
      make_table "$engine" "$rows"; run_vamor "$engine" "$work/t.vamor"; b=$(fingerprint "$engine")
    else
      make_table "$engine" "$rows"; run_vamor "$engine" "$work/t.vamor"; b=$(fingerprint "$engine")
      run_client "$engine"; a=$(fingerprint "$engine")
    fi
    [ "$a" = "$b" ] || { echo "convert-server.sh: $name: the two conversions differ:" >&2; echo "$a" >&2; echo "$b" >&2; exit 1; }
    read -r tc mc uc sc < "$work/t.client"
    read -r tv mv uv sv < "$work/t.vamor"
    echo "$name run $run: $engine client ${tc}s, vamor ${tv}s (cpu $(awk "BEGIN{print $uv + $sv}")s) ${mv} KB"
    if [ -z "$best_c" ] || awk "BEGIN{exit !($tc < $best_c)}"; then best_c=$tc; fi
    if [ -z "$best_v" ] || awk "BEGIN{exit !($tv < $best_v)}"; then best_v=$tv; fi
    [ "$mv" -gt "$mem_v" ] && mem_v=$mv
  done
  make_table "$engine" "$small"
  run_vamor "$engine" "$work/t.small"
  read -r t_small mem_small uv sv < "$work/t.small"
  client "$engine" <<< "DROP TABLE IF EXISTS vanzari;" > /dev/null
  awk -v n="$name" -v c="$best_c" -v v="$best_v" -v mv="$mem_v" -v rows="$rows" -v small="$small" \
      -v ms="$mem_small" -v ts="$t_small" -v opts="${vamor_options[*]:+ (vamor ${vamor_options[*]})}" \
      -v target="$([ ${#vamor_options[@]} -gt 0 ] && echo 1.05 || echo 1.15)" 'BEGIN {
    printf "%s: rows %d, three money columns, best of the runs%s\n", n, rows, opts
    printf "  client: %.2f s\n", c
    printf "  vamor:  %.2f s, peak memory %.1f MB\n", v, mv / 1024
    ratio = (c > 0) ? v / c : 0
    printf "  ratio vamor/client: %.3f (target <= %.2f)%s\n", ratio, target, ratio <= target ? "" : "  MISSED"
    printf "  vamor at %d rows: %.2f s, peak memory %.1f MB (at %d rows: %.1f MB)\n", small, ts, ms / 1024, rows, mv / 1024
  }'
}

[ -n "${VAMOR_TEST_PG:-}" ] || [ -n "${VAMOR_TEST_MARIADB:-}" ] || {
  echo "convert-server.sh: set VAMOR_TEST_PG and VAMOR_TEST_MARIADB (source the servers' env.sh)" >&2; exit 2; }
if [ -z "$only" ] || [ "$only" = pg ]; then
  if [ -n "${VAMOR_TEST_PG:-}" ]; then bench_engine pg PostgreSQL; else echo "PostgreSQL: VAMOR_TEST_PG not set, skipped"; fi
fi
if [ -z "$only" ] || [ "$only" = mariadb ]; then
  if [ -n "${VAMOR_TEST_MARIADB:-}" ]; then bench_engine mariadb MariaDB; else echo "MariaDB: VAMOR_TEST_MARIADB not set, skipped"; fi
fi
