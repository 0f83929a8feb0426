#!/usr/bin/env bash
# Many-fields bench: a project of many data sources, tables and fields, each
# table holding a few rows, converted to new lei by the command-line run of
# Vamor; beside it the baseline runs the same statements (for each field the
# recovery column is added, then BEGIN, the filled conversion template,
# COMMIT) in the database's own shell, in the same invocation. Also times the
# confirmation list (--list) of the same project.
#
#   bench/many.sh [--sources N] [--tables N] [--fields N] [--rows N] [--runs N] [--dir DIR] [--vamor PATH]
#   bench/many.sh --pg [--tables N] [--fields N] [--rows N] [--runs N] [--no-totals]
#   bench/many.sh --list-only [--converted] ...   (times the confirmation list alone)
#
# SQLite (default): N sources (200) of T tables (25) of F fields (10), that is
# 200 SQLite files, 5,000 tables and 50,000 fields of 5 rows each; the
# baseline is one sqlite3 shell per data source. "--sources 20" gives the
# 5,000-field project.
# --pg: one PostgreSQL data source (VAMOR_TEST_PG; source /tmp/vsrv/env.sh or
# the env.sh of tests/servers.sh first) of 200 tables of 10 fields; the
# baseline is one psql session over TCP, as Vamor connects.
#
# --no-totals runs the conversion without its control totals, which the
# baseline does not compute.
# --list-only --converted: every field as a finished run leaves it (its
# recovery column added and filled, Converted in the project), listed for
# the run back to old lei: each state is read through its recovery column.
# --dir names the folder the files are made in (default: $TMPDIR or /tmp);
# on a machine whose disk others use at the same time, a memory file system
# (--dir /dev/shm) leaves the disk's waits out and compares the work alone.
#
# Prints the best of the runs: Vamor's time, the baseline's, their ratio and
# Vamor's peak memory. Targets: the conversion within 1.2 times the baseline;
# the list of the 50,000-field project within 5 s.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
dir=${TMPDIR:-/tmp} list_only=0 pg=0 totals=() sources=200 tables=25 fields=10 rows=5 runs=3
tables_set=0
converted=0
while [ $# -gt 0 ]; do
  case "$1" in
    --pg) pg=1; shift ;;
    --list-only) list_only=1; shift ;;
    --converted) converted=1; shift ;;
    --no-totals) totals=(--no-totals); shift ;;
    --sources) sources=$2; shift 2 ;;
    --tables) tables=$2; tables_set=1; shift 2 ;;
    --fields) fields=$2; shift 2 ;;
    --rows) rows=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --vamor) vamor=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    *) echo "many.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ "$pg" = 1 ] && { sources=1; [ "$tables_set" = 1 ] || tables=200; }
[ -x "$vamor" ] || { echo "many.sh: program not found: $vamor" >&2; exit 2; }
template=${VAMOR_TEMPLATE:-$(dirname "$vamor")/Vamor.vmt}
[ -f "$template" ] || { echo "many.sh: project template Vamor.vmt not found" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "many.sh: sqlite3 is needed" >&2; exit 2; }

work=$(mktemp -d "$dir/vamor-many.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The statements of type 6 from the template, filled for one field of a
# DECIMAL(18,2) column.
create_sql=$(sqlite3 "$template" "SELECT CreateFieldSQL FROM tConnType WHERE IdConnType = 6")
convert_sql=$(sqlite3 "$template" "SELECT ConvertSQL FROM tConnType WHERE IdConnType = 6")
fill() { # template table field recovery
  local s=$1
  s=${s//\[FIELD_TYPE\]/DECIMAL(18,2)}
  s=${s//\[FIELD_NAME\]/$3}
  s=${s//\[REC_FIELD_NAME\]/$4}
  s=${s//\[TABLE_NAME\]/$2}
  s=${s//\[AMOUNT\]/$3}
  s=${s//\[DECIMALS:2\]/2}
  s=${s//\[WHERE\]/}
  s=${s//\[AND\]/}
  printf '%s' "$s"
}
table_name() { printf 'mb_t%04d' "$1"; }

# The baseline's statements for one data source.
{
  for t in $(seq 1 "$tables"); do
    tn=$(table_name "$t")
    for f in $(seq 1 "$fields"); do
      printf '%s;\n' "$(fill "$create_sql" "$tn" "c${f}_VM" "c${f}_VM")"
      printf 'BEGIN;\n'
      printf '%s;\n' "$(fill "$convert_sql" "$tn" "c$f" "c${f}_VM" | sed 's/\[GO\]/;\n/g')"
      printf 'COMMIT;\n'
    done
  done
} > "$work/baseline.sql"

# The tables of one data source, with their rows.
{
  for t in $(seq 1 "$tables"); do
    tn=$(table_name "$t")
    cols="" vals=""
    for f in $(seq 1 "$fields"); do cols+=", c$f DECIMAL(18,2)"; vals+=", (i * 7919 + $f * 104729) % 10000000 / 100.0"; done
    printf 'DROP TABLE IF EXISTS %s;\n' "$tn"
    printf 'CREATE TABLE %s (id INTEGER PRIMARY KEY%s);\n' "$tn" "$cols"
    printf 'INSERT INTO %s SELECT i%s FROM generate_series(1, %d) AS g(i);\n' "$tn" "$vals" "$rows"
  done
} > "$work/tables.sql"

# A project of the sources and their fields; $1 gives the connection string
# of source i from "%d".
make_project() { # project connstring-format
  cp "$template" "$1"; chmod u+w "$1"
  {
    echo "BEGIN;"
    for s in $(seq 1 "$sources"); do
      # shellcheck disable=SC2059
      printf "INSERT INTO tConn (IdConn, IdConnType, Description, ConnString, IntegratedSecurity, Offline) VALUES (%d, 6, 'Sursa %03d', '%s', 0, 0);\n" \
        "$s" "$s" "$(printf "$2" "$s")"
    done
    echo "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < $sources),"
    echo " t(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM t WHERE j < $tables)"
    echo "INSERT INTO tTable (IdTable, IdConn, TableName) SELECT (i - 1) * $tables + j, i, printf('mb_t%04d', j) FROM s, t;"
    echo "WITH RECURSIVE t(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM t WHERE k < $((sources * tables))),"
    echo " f(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM f WHERE n < $fields)"
    echo "INSERT INTO tField (IdTable, FieldName, RecFieldName) SELECT k, 'c' || n, 'c' || n || '_VM' FROM t, f;"
    echo "COMMIT;"
  } | sqlite3 -bail "$1"
}

# Seconds and peak resident kilobytes of one command.
measure() { # output-file command...
  local out=$1; shift
  /usr/bin/time -f '%e %M %U %S' -o "$out" "$@" > "$out.out" 2> "$out.err" || {
    echo "many.sh: command failed: $*" >&2; tail -5 "$out.err" >&2; exit 1; }
}
best() { # current candidate
  if [ -z "$1" ] || awk "BEGIN{exit !($2 < $1)}"; then echo "$2"; else echo "$1"; fi
}

if [ "$pg" = 1 ]; then
  [ -n "${VAMOR_TEST_PG:-}" ] || { echo "many.sh: VAMOR_TEST_PG is not set (source /tmp/vsrv/env.sh)" >&2; exit 2; }
  command -v psql >/dev/null || { echo "many.sh: psql is needed" >&2; exit 2; }
  conn_value() { sed -n "s/.*[;^]$1=\([^;]*\).*/\1/p" <<<";$VAMOR_TEST_PG"; }
  export PGHOST=$(conn_value Server) PGPORT=$(conn_value Port) PGDATABASE=$(conn_value Database)
  export PGUSER=$(conn_value Uid) PGPASSWORD=$(conn_value Pwd)
  export PGOPTIONS='-c client_min_messages=warning'
  psqlrun() { psql -X -q -v ON_ERROR_STOP=1 "$@"; }
  # The bench's tables go with it.
  trap 'for t in $(seq 1 "$tables"); do echo "DROP TABLE IF EXISTS $(table_name "$t");"; done | psqlrun >/dev/null 2>&1; rm -rf "$work"' EXIT
  setup() { psqlrun -f "$work/tables.sql" >/dev/null; }
  checksum() {
    local q="" t f
    for t in $(seq 1 "$tables"); do for f in $(seq 1 "$fields"); do
      q+="${q:+ + }(SELECT coalesce(sum(c$f), 0) * 7 + coalesce(sum(c${f}_VM), 0) FROM $(table_name "$t"))"
    done; done
    echo "SELECT $q;" > "$work/checksum.sql"
    psqlrun -At -f "$work/checksum.sql"
  }
  label="PostgreSQL, $tables tables, $((tables * fields)) fields, $rows rows each; baseline psql"
  make_project "$work/base.vmd" "$VAMOR_TEST_PG"
else
  label="SQLite, $sources sources, $((sources * tables)) tables, $((sources * tables * fields)) fields, $rows rows each; baseline sqlite3, one shell per source"
  echo "Building $sources SQLite files of $tables tables..."
  sed 's/generate_series(1, \([0-9]*\)) AS g(i)/(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < \1) SELECT i FROM n)/' \
    "$work/tables.sql" | sqlite3 -bail "$work/source.db"
  mkdir -p "$work/base" "$work/shell" "$work/vamor"
  for s in $(seq 1 "$sources"); do cp "$work/source.db" "$work/base/s$s.db"; done
  make_project "$work/base.vmd" "Provider=SQLite;Data Source=$work/vamor/s%d.db"
  setup() { # folder
    rm -rf "${work:?}/$1"; cp -r "$work/base" "$work/$1"
  }
  checksum() { # folder
    local s sum=0
    for s in $(seq 1 "$sources"); do
      sum=$(awk -v a="$sum" -v b="$(sqlite3 "$work/$1/s$s.db" \
        "$(for t in $(seq 1 "$tables"); do for f in $(seq 1 "$fields"); do
             printf 'SELECT total(c%d) * 7 + total(c%d_VM) FROM %s UNION ALL ' "$f" "$f" "$(table_name "$t")"
           done; done) SELECT 0" | awk '{ s += $1 } END { printf "%.2f", s }')" 'BEGIN { printf "%.2f", a + b }')
    done
    echo "$sum"
  }
fi

best_list= best_vamor= best_base= best_cbase= best_cvamor= mem_vamor=0 mem_list=0
if [ "$list_only" = 1 ]; then
  [ "$pg" = 1 ] && setup || setup vamor
  direction=noi
  if [ "$converted" = 1 ]; then
    direction=vechi
    {
      for t in $(seq 1 "$tables"); do
        tn=$(table_name "$t") sets=""
        for f in $(seq 1 "$fields"); do
          printf 'ALTER TABLE %s ADD c%d_VM DECIMAL(18,2);\n' "$tn" "$f"
          sets+="${sets:+, }c${f}_VM = c$f * 10000"
        done
        printf 'UPDATE %s SET %s;\n' "$tn" "$sets"
      done
    } > "$work/converted.sql"
    if [ "$pg" = 1 ]; then psqlrun -f "$work/converted.sql" >/dev/null
    else for s in "$work"/vamor/*.db; do sqlite3 -bail "$s" < "$work/converted.sql"; done; fi
    sqlite3 "$work/base.vmd" "UPDATE tField SET Converted = 1"
    label+="; every field converted, listed for the run back"
  fi
  best_list= mem_list=0
  for run in $(seq 1 "$runs"); do
    mkdir -p "$work/home"; cp "$work/base.vmd" "$work/list.vmd"
    measure "$work/t.list" env VAMOR_HOME="$work/home" "$vamor" --convert "$work/list.vmd" --to "$direction" --list
    read -r tl ml ul sl < "$work/t.list"
    echo "run $run: vamor --list ${tl}s (cpu $(awk "BEGIN{print $ul + $sl}")s) ${ml} KB"
    best_list=$(best "$best_list" "$tl"); [ "$ml" -gt "$mem_list" ] && mem_list=$ml
  done
  awk -v l="$best_list" -v ml="$mem_list" -v label="$label" 'BEGIN {
    printf "%s\nvamor --list: %.2f s (target <= 5 s), peak memory %.1f MB\n", label, l, ml / 1024 }'
  # The confirmation window itself, offscreen, when its bench program is built.
  confirm=$(find "$(dirname "$vamor")/.." -name confirm_open_bench -type f -perm -u+x 2>/dev/null | head -1)
  if [ -n "$confirm" ]; then
    for run in $(seq 1 "$runs"); do
      mkdir -p "$work/whome$run"; cp "$work/base.vmd" "$work/window.vmd"
      echo "confirmation window, run $run: $(VAMOR_HOME=$work/whome$run XDG_CONFIG_HOME=$work/whome$run \
        QT_QPA_PLATFORM=offscreen "$confirm" "$work/window.vmd" "$direction" 2>/dev/null)"
    done
    echo "(target: the window complete within 5 s, shown with its count while it works)"
  fi
  exit 0
fi

for run in $(seq 1 "$runs"); do
  # Baseline.
  if [ "$pg" = 1 ]; then
    setup
    sync
    measure "$work/t.base" psql -X -q -v ON_ERROR_STOP=1 -f "$work/baseline.sql"
    want=$(checksum)
    setup
  else
    setup shell
    sync
    measure "$work/t.base" bash -c 'for s in "$1"/*.db; do sqlite3 -bail "$s" ".read $2" || exit 1; done' - \
      "$work/shell" "$work/baseline.sql"
    want=$(checksum shell)
    setup vamor
  fi
  # The list of the confirmation, then the conversion, on fresh copies.
  mkdir -p "$work/home"
  cp "$work/base.vmd" "$work/list.vmd"; cp "$work/base.vmd" "$work/run.vmd"
  sync
  measure "$work/t.list" env VAMOR_HOME="$work/home" "$vamor" --convert "$work/list.vmd" --to noi --list
  measure "$work/t.vamor" env VAMOR_HOME="$work/home" "$vamor" --convert "$work/run.vmd" --to noi --yes "${totals[@]}"
  if [ "$pg" = 1 ]; then got=$(checksum); else got=$(checksum vamor); fi
  [ "$want" = "$got" ] || { echo "many.sh: Vamor and the baseline left different amounts: $got / $want" >&2; exit 1; }
  left=$(sqlite3 "$work/run.vmd" "SELECT count(*) FROM tField WHERE NOT Converted OR Error IS NOT NULL")
  [ "$left" = 0 ] || { echo "many.sh: $left fields of the project are not recorded as converted" >&2; exit 1; }
  read -r tb _ ub sb < "$work/t.base"; read -r tl ml _ < "$work/t.list"; read -r tv mv uv sv < "$work/t.vamor"
  cb=$(awk "BEGIN{print $ub + $sb}"); cv=$(awk "BEGIN{print $uv + $sv}")
  echo "run $run: baseline ${tb}s (cpu ${cb}s), vamor --list ${tl}s ${ml} KB, vamor --convert ${tv}s (cpu ${cv}s) ${mv} KB"
  best_cbase=$(best "$best_cbase" "$cb"); best_cvamor=$(best "$best_cvamor" "$cv")
  best_base=$(best "$best_base" "$tb"); best_list=$(best "$best_list" "$tl"); best_vamor=$(best "$best_vamor" "$tv")
  [ "$mv" -gt "$mem_vamor" ] && mem_vamor=$mv
  [ "$ml" -gt "$mem_list" ] && mem_list=$ml
done

awk -v cb="$best_cbase" -v cv="$best_cvamor" -v b="$best_base" -v v="$best_vamor" -v l="$best_list" -v mv="$mem_vamor" -v ml="$mem_list" -v label="$label" \
  -v runs="$runs" -v notes="${totals[*]:+; vamor without control totals}" 'BEGIN {
  printf "%s (best of %d)%s\n", label, runs, notes
  printf "baseline:        %8.2f s\n", b
  printf "vamor --convert: %8.2f s, peak memory %.1f MB\n", v, mv / 1024
  ratio = (b > 0) ? v / b : 0
  printf "ratio vamor/baseline: %.3f (target <= 1.2)%s\n", ratio, ratio <= 1.2 ? "" : "  MISSED"
  printf "cpu time: baseline %.2f s, vamor %.2f s (ratio %.3f; on a server the baseline counts its client only)\n", cb, cv, (cb > 0 ? cv / cb : 0)
  printf "vamor --list:    %8.2f s, peak memory %.1f MB\n", l, ml / 1024
}'
