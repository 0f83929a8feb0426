#!/usr/bin/env bash
# Conversion bench: a SQLite table of ROWS rows with three money columns
# (INTEGER, DECIMAL(18,2), DOUBLE) converted to new lei by the command-line
# run of Vamor, and the same statements run by the sqlite3 shell on an
# identical copy in the same invocation: for each field the recovery column
# is added, then the filled conversion template runs in one transaction.
# Prints both times, their ratio and the peak memory of each.
#
#   bench/convert.sh [--rows N] [--runs N] [--vamor PATH] [--no-totals]
#
# --no-totals runs Vamor without its control totals (the sums it reads in
# each field's transaction), so both sides run the same statements.
#
# Target: Vamor at most 1.15 times the shell's time; peak memory under 64 MB
# whatever the row count.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
rows=1000000
runs=3
totals=()
while [ $# -gt 0 ]; do
  case "$1" in
    --rows) rows=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --vamor) vamor=$2; shift 2 ;;
    --no-totals) totals=(--no-totals); shift ;;
    *) echo "convert.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -x "$vamor" ] || { echo "convert.sh: program not found: $vamor" >&2; exit 2; }
template=${VAMOR_TEMPLATE:-$(dirname "$vamor")/Vamor.vmt}
[ -f "$template" ] || template=$repo/build/bin/Vamor.vmt
[ -f "$template" ] || { echo "convert.sh: project template Vamor.vmt not found" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vamor-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
fields=(Suma Tva Curs)

echo "Building a table of $rows rows..."
sqlite3 -bail "$work/base.db" <<SQL
CREATE TABLE Vanzari (Id INTEGER PRIMARY KEY, Suma INTEGER, Tva DECIMAL(18,2), Curs DOUBLE);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO Vanzari
  SELECT i, (i * 7919) % 100000000 - 1000000, ((i * 104729) % 1000000000) / 100.0,
         CASE WHEN i % 10 = 0 THEN NULL ELSE ((i * 15485863) % 100000000) / 7.0 END
  FROM n;
SQL

# The statements of type 6 from the template, filled for one field as Vamor
# fills them: the recovery column takes the field's declared type, and the
# rounding keeps at most the decimals the column keeps (none for INTEGER).
create_sql=$(sqlite3 "$template" "SELECT CreateFieldSQL FROM tConnType WHERE IdConnType = 6")
convert_sql=$(sqlite3 "$template" "SELECT ConvertSQL FROM tConnType WHERE IdConnType = 6")
declare -A field_type=([Suma]=INTEGER [Tva]='DECIMAL(18,2)' [Curs]=DOUBLE)
declare -A field_scale=([Suma]=0 [Tva]=2 [Curs]=-1)
fill() { # template field recovery type scale
  local s=$1 d
  s=${s//\[FIELD_TYPE\]/$4}
  s=${s//\[FIELD_NAME\]/$2}
  s=${s//\[REC_FIELD_NAME\]/$3}
  s=${s//\[TABLE_NAME\]/Vanzari}
  s=${s//\[AMOUNT\]/$2}
  s=${s//\[WHERE\]/}
  s=${s//\[AND\]/}
  while [[ $s =~ \[DECIMALS:([0-9]+)\] ]]; do
    d=${BASH_REMATCH[1]}
    [ "$5" -ge 0 ] && [ "$5" -lt "$d" ] && d=$5
    s=${s//"${BASH_REMATCH[0]}"/$d}
  done
  printf '%s' "$s"
}
{
  for f in "${fields[@]}"; do
    # The recovery column is the [FIELD_NAME] of CreateFieldSQL.
    printf '%s;\n' "$(fill "$create_sql" "${f}_VM" "${f}_VM" "${field_type[$f]}" "${field_scale[$f]}")"
    printf 'BEGIN;\n'
    printf '%s;\n' "$(fill "$convert_sql" "$f" "${f}_VM" "${field_type[$f]}" "${field_scale[$f]}" | sed 's/\[GO\]/;\n/g')"
    printf 'COMMIT;\n'
  done
} > "$work/shell.sql"

# Seconds and peak resident kilobytes of one command.
measure() { # output-file command...
  local out=$1; shift
  /usr/bin/time -f '%e %M %U %S' -o "$out" "$@" > /dev/null 2> "$out.err" || {
    echo "convert.sh: command failed: $*" >&2; cat "$out.err" >&2; exit 1; }
}

best_shell= ; best_vamor= ; mem_shell=0 ; mem_vamor=0
for run in $(seq 1 "$runs"); do
  cp "$work/base.db" "$work/shell.db"
  cp "$work/base.db" "$work/vamor.db"
  cp "$template" "$work/bench.vmd"; chmod u+w "$work/bench.vmd"
  sqlite3 -bail "$work/bench.vmd" <<SQL
INSERT INTO tConn (IdConnType, Description, ConnString, IntegratedSecurity, Offline)
  VALUES (6, 'Bench', 'Provider=SQLite;Data Source=$work/vamor.db', 0, 0);
INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Vanzari');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Suma', 'Suma_VM'), (1, 'Tva', 'Tva_VM'), (1, 'Curs', 'Curs_VM');
SQL
  sync
  measure "$work/t.shell" sqlite3 -bail "$work/shell.db" ".read $work/shell.sql"
  measure "$work/t.vamor" env VAMOR_HOME="$work" "$vamor" --convert "$work/bench.vmd" --to noi --yes "${totals[@]}"
  read -r ts ms us ss < "$work/t.shell"
  read -r tv mv uv sv < "$work/t.vamor"
  echo "run $run: sqlite3 ${ts}s (cpu $(awk "BEGIN{print $us + $ss}")s) ${ms} KB, vamor ${tv}s (cpu $(awk "BEGIN{print $uv + $sv}")s) ${mv} KB"
  if [ -z "$best_shell" ] || awk "BEGIN{exit !($ts < $best_shell)}"; then best_shell=$ts; fi
  if [ -z "$best_vamor" ] || awk "BEGIN{exit !($tv < $best_vamor)}"; then best_vamor=$tv; fi
  [ "$ms" -gt "$mem_shell" ] && mem_shell=$ms
  [ "$mv" -gt "$mem_vamor" ] && mem_vamor=$mv
  # Both databases must hold the same amounts afterwards.
  a=$(sqlite3 "$work/shell.db" "SELECT total(Suma), total(Tva), total(Curs), total(Suma_VM), total(Tva_VM), total(Curs_VM) FROM Vanzari")
  b=$(sqlite3 "$work/vamor.db" "SELECT total(Suma), total(Tva), total(Curs), total(Suma_VM), total(Tva_VM), total(Curs_VM) FROM Vanzari")
  [ "$a" = "$b" ] || { echo "convert.sh: the two databases differ: $a / $b" >&2; exit 1; }
done

awk -v s="$best_shell" -v v="$best_vamor" -v ms="$mem_shell" -v mv="$mem_vamor" -v rows="$rows" 'BEGIN {
  printf "rows %d, three money columns\n", rows
  printf "sqlite3 shell: %.2f s, peak memory %.1f MB\n", s, ms / 1024
  printf "vamor:         %.2f s, peak memory %.1f MB\n", v, mv / 1024
  ratio = (s > 0) ? v / s : 0
  printf "ratio vamor/shell: %.3f (target <= 1.15)%s\n", ratio, ratio <= 1.15 ? "" : "  MISSED"
  printf "vamor peak memory %s 64 MB\n", mv / 1024 < 64 ? "under" : "OVER"
}'
