#!/usr/bin/env bash
# Tree bench: a project of 200 data sources, 5,000 tables and 50,000 fields
# opened in the real main window (offscreen), timed from the choice of the
# file to the filled tree; beside it, the time the sqlite3 shell takes to
# read the same three tables (the two queries the tree is loaded from) on
# the same file, in the same invocation.
#
#   bench/tree.sh [--runs N] [--build DIR]
#
# Target: under one second for the tree.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build
runs=3
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "tree.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
command -v sqlite3 >/dev/null || { echo "tree.sh: sqlite3 is needed" >&2; exit 2; }
cmake --build "$build" --target tree_load_bench -j2 >/dev/null
prog=$(find "$build" -type f -name tree_load_bench -perm -u+x | head -1)
[ -x "$prog" ] || { echo "tree.sh: the bench program was not built" >&2; exit 2; }
template=$build/bin/Vamor.vmt
[ -f "$template" ] || { echo "tree.sh: project template Vamor.vmt not found in $build/bin" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vamor-tree.XXXXXX")
trap 'rm -rf "$work"' EXIT
project=$work/mare.vmd
cp "$template" "$project"
chmod u+w "$project"
echo "Building a project of 200 data sources, 5000 tables and 50000 fields..."
sqlite3 -bail "$project" <<'SQL'
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)
INSERT INTO tConn (IdConnType, Description, ConnString, Offline)
  SELECT 6, 'Sursa ' || printf('%03d', i), 'DSN=sursa' || i, i % 10 = 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 4999)
INSERT INTO tTable (IdConn, TableName) SELECT i % 200 + 1, 'Tabel_' || printf('%04d', i) FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49999)
INSERT INTO tField (IdTable, FieldName, RecFieldName)
  SELECT i % 5000 + 1, 'Camp_' || i, 'Camp_' || i || '_VM' FROM n;
COMMIT;
SQL

queries="SELECT * FROM tConn ORDER BY Description;
SELECT tTable.IdTable, tTable.IdConn, tTable.TableName, tTable.Owner, Count(tField.IdField) AS FieldsCount FROM tTable LEFT JOIN tField ON tTable.IdTable = tField.IdTable GROUP BY tTable.IdTable, tTable.IdConn, tTable.TableName, tTable.Owner ORDER BY TableName;"

now() { date +%s.%N; }
for run in $(seq 1 "$runs"); do
  home=$work/home$run
  mkdir -p "$home"
  line=$(VAMOR_HOME=$home QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$home "$prog" "$project" 2>/dev/null)
  t0=$(now)
  sqlite3 "$project" "$queries" >/dev/null
  t1=$(now)
  shell=$(echo "$t1 - $t0" | bc -l)
  tree=$(echo "$line" | sed -n 's/.*seconds=\([0-9.]*\).*/\1/p')
  printf 'run %d: %s  sqlite3 shell %.3f s  ratio %.1f\n' "$run" "$line" "$shell" "$(echo "$tree / $shell" | bc -l)"
done
echo "Target: the tree under 1 second."
