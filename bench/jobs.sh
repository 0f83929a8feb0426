#!/usr/bin/env bash
# Side-by-side bench: a project of SOURCES SQLite data sources (4) of TABLES
# tables (50) of FIELDS money columns (5), ROWS rows each (2000), converted
# to new lei by the command-line run of Vamor with --jobs 1 and with
# --jobs N (4), alternately, each from the same files in the same
# invocation. Every run's amounts and recovery values are summed afterwards
# by the sqlite3 shell: both must give the same sum.
#
#   bench/jobs.sh [--sources N] [--tables N] [--fields N] [--rows N] [--jobs N] [--runs N] [--dir DIR]
#                 [--vamor PATH]
#
# Prints the best time of each, their ratio and each one's peak memory.
# Target on a 2-core machine: --jobs 4 at most 0.65 times --jobs 1.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
dir=${TMPDIR:-/tmp} sources=4 tables=50 fields=5 rows=2000 jobs=4 runs=3
while [ $# -gt 0 ]; do
  case "$1" in
    --sources) sources=$2; shift 2 ;;
    --tables) tables=$2; shift 2 ;;
    --fields) fields=$2; shift 2 ;;
    --rows) rows=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --vamor) vamor=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    *) echo "jobs.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -x "$vamor" ] || { echo "jobs.sh: program not found: $vamor" >&2; exit 2; }
template=${VAMOR_TEMPLATE:-$(dirname "$vamor")/Vamor.vmt}
[ -f "$template" ] || { echo "jobs.sh: project template Vamor.vmt not found" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "jobs.sh: sqlite3 is needed" >&2; exit 2; }

work=$(mktemp -d "$dir/vamor-jobs.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One data source's file: its tables and rows (amounts in whole old lei).
{
  echo "BEGIN;"
  for t in $(seq 1 "$tables"); do
    cols="" vals=""
    for f in $(seq 1 "$fields"); do cols+=", c$f DECIMAL(18,2)"; vals+=", ((i * 7919 + $f * 104729) % 100000) * 100"; done
    printf 'CREATE TABLE jb_t%04d (id INTEGER PRIMARY KEY%s);\n' "$t" "$cols"
    printf 'WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %d) INSERT INTO jb_t%04d SELECT i%s FROM n;\n' \
      "$rows" "$t" "$vals"
  done
  echo "COMMIT;"
} | sqlite3 -bail "$work/source.db"
mkdir -p "$work/base"
for s in $(seq 1 "$sources"); do cp "$work/source.db" "$work/base/s$s.db"; done

cp "$template" "$work/base.vmd"; chmod u+w "$work/base.vmd"
{
  echo "BEGIN;"
  for s in $(seq 1 "$sources"); do
    printf "INSERT INTO tConn (IdConn, IdConnType, Description, ConnString, IntegratedSecurity, Offline) VALUES (%d, 6, 'Sursa %d', 'Provider=SQLite;Data Source=%s/run/s%d.db', 0, 0);\n" \
      "$s" "$s" "$work" "$s"
  done
  echo "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < $sources),"
  echo " t(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM t WHERE j < $tables)"
  echo "INSERT INTO tTable (IdTable, IdConn, TableName) SELECT (i - 1) * $tables + j, i, printf('jb_t%04d', j) FROM s, t;"
  echo "WITH RECURSIVE t(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM t WHERE k < $((sources * tables))),"
  echo " f(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM f WHERE n < $fields)"
  echo "INSERT INTO tField (IdTable, FieldName, RecFieldName) SELECT k, 'c' || n, 'c' || n || '_VM' FROM t, f;"
  echo "COMMIT;"
} | sqlite3 -bail "$work/base.vmd"

# Every amount and recovery value of the run's files, summed exactly as text
# digits by the shell's integer arithmetic (amounts are whole hundredths).
checksum() {
  local s t f q="SELECT 0"
  for t in $(seq 1 "$tables"); do for f in $(seq 1 "$fields"); do
    q+=" + (SELECT coalesce(sum(CAST(round(c$f * 100) AS INTEGER)), 0) * 3 + coalesce(sum(CAST(c${f}_VM AS INTEGER)), 0) FROM $(printf 'jb_t%04d' "$t"))"
  done; done
  local total=0
  for s in $(seq 1 "$sources"); do total=$((total + $(sqlite3 "$work/run/s$s.db" "$q;"))); done
  echo "$total"
}

# One conversion with --jobs N: seconds and peak kilobytes.
convert() { # jobs
  rm -rf "$work/run" "$work/home"; cp -r "$work/base" "$work/run"; mkdir -p "$work/home"
  cp "$work/base.vmd" "$work/p.vmd"
  sync
  /usr/bin/time -f '%e %M' -o "$work/t" env VAMOR_HOME="$work/home" "$vamor" --convert "$work/p.vmd" --to noi --yes \
    --jobs "$1" > "$work/out" 2> "$work/err" || { echo "jobs.sh: vamor --jobs $1 failed" >&2; tail -5 "$work/err" >&2; exit 1; }
  cat "$work/t"
}
best() { if [ -z "$1" ] || awk "BEGIN{exit !($2 < $1)}"; then echo "$2"; else echo "$1"; fi; }

best1= bestn= mem1=0 memn=0 sum1= sumn=
for run in $(seq 1 "$runs"); do
  read -r t1 m1 < <(convert 1); s1=$(checksum)
  read -r tn mn < <(convert "$jobs"); sn=$(checksum)
  echo "run $run: --jobs 1 ${t1}s ${m1} KB; --jobs $jobs ${tn}s ${mn} KB"
  [ "$s1" = "$sn" ] || { echo "jobs.sh: the amounts differ: --jobs 1 gives $s1, --jobs $jobs gives $sn" >&2; exit 1; }
  [ -z "$sum1" ] || [ "$s1" = "$sum1" ] || { echo "jobs.sh: the amounts differ between runs" >&2; exit 1; }
  sum1=$s1
  best1=$(best "$best1" "$t1"); bestn=$(best "$bestn" "$tn")
  [ "$m1" -gt "$mem1" ] && mem1=$m1; [ "$mn" -gt "$memn" ] && memn=$mn
done
awk -v a="$best1" -v b="$bestn" -v ma="$mem1" -v mb="$memn" -v j="$jobs" -v label="$sources SQLite sources, $((sources * tables)) tables, $((sources * tables * fields)) fields, $rows rows each; $(nproc) cores" 'BEGIN {
  printf "%s\n--jobs 1: %.2f s, peak memory %.1f MB\n--jobs %d: %.2f s, peak memory %.1f MB (the parent; each source runs in a process of its own)\nratio --jobs %d / --jobs 1: %.2f (target <= 0.65)\n", label, a, ma / 1024, j, b, mb / 1024, j, b / a }'
