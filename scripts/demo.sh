#!/usr/bin/env bash
# The main job of Vamor, shown on a small firm's database.
#
#   scripts/demo.sh [--vamor PATH] [--to noi|vechi] [--reset]
#
# The first run creates, in a folder of its own ($VAMOR_DEMO_DIR, by default
# ./vamor-demo), a SQLite database of a small firm (invoices, payments,
# salaries), a dBase folder with its old cash book (casa.dbf, written by
# python3-dbf) and a project demo.vmd that describes both, made from the
# program's template Vamor.vmt. Every run then converts the project from the command
# line (to new lei unless --to vechi is given), prints the report and a
# before-and-after sample of the amounts. Run again, it converts nothing; with
# --to vechi it restores every original amount exactly. --reset starts over
# with a new database and project.
#
# The program is PATH, or $VAMOR, or build/bin/vamor of this clone.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vamor=${VAMOR:-$repo/build/bin/vamor}
to=noi
reset=0
while [ $# -gt 0 ]; do
  case "$1" in
    --vamor) vamor=${2:?--vamor needs the path of the program}; shift 2 ;;
    --to) to=${2:?--to needs noi or vechi}; shift 2 ;;
    --to=*) to=${1#--to=}; shift ;;
    --reset) reset=1; shift ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo.sh: argument necunoscut: $1" >&2; exit 2 ;;
  esac
done
case "$to" in noi|vechi) ;; *) echo "demo.sh: --to noi sau --to vechi" >&2; exit 2 ;; esac
[ -x "$vamor" ] || { echo "demo.sh: programul nu a fost gasit: $vamor (construiti-l cu scripts/build.sh)" >&2; exit 2; }
vamor=$(cd "$(dirname "$vamor")" && pwd)/$(basename "$vamor")
command -v sqlite3 >/dev/null || { echo "demo.sh: lipseste sqlite3 (apt-get install sqlite3)" >&2; exit 2; }
template=$(dirname "$vamor")/Vamor.vmt
[ -f "$template" ] || { echo "demo.sh: lipseste sablonul de proiect $template" >&2; exit 2; }

demo=${VAMOR_DEMO_DIR:-$PWD/vamor-demo}
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
db="$demo/firma.db"
dbase="$demo/dbase"
python=/usr/bin/python3
project="$demo/demo.vmd"
originals="$demo/sume-originale.txt"

# The dBase cash book, one line a record: number, amount, VAT ("-" for empty).
casa() {
  "$python" - "$dbase/casa.dbf" <<'PY'
import sys, warnings
warnings.filterwarnings("ignore")
import dbf
t = dbf.Table(sys.argv[1]); t.open(dbf.READ_ONLY)
for r in t:
    print(r.nr.strip(), "-" if r.suma is None else r.suma, "-" if r.tva is None else r.tva)
t.close()
PY
}

# Every amount of the firm, in a fixed order: what --to vechi must give back.
amounts() {
  sqlite3 "$db" "SELECT 'F', Id, quote(Valoare), quote(TVA), quote(Total) FROM Facturi ORDER BY Id;
                 SELECT 'P', Id, quote(Suma), quote(Comision) FROM Plati ORDER BY Id;
                 SELECT 'S', Id, quote(Brut), quote(Net), quote(Impozit), quote(Prima) FROM Salarii ORDER BY Id;"
  casa
}

sample() {
  echo "Facturi (doar cele in lei se convertesc: filtrul tabelului Moneda = 'ROL'):"
  sqlite3 -header -column "$db" "SELECT Numar, Moneda, Valoare, TVA, Total FROM Facturi ORDER BY Id LIMIT 5"
  echo
  echo "Plati (doar Suma platilor de dinainte de 1 iulie 2005: filtrul campului):"
  sqlite3 -header -column "$db" "SELECT Data, Suma, Comision FROM Plati ORDER BY Id LIMIT 5"
  echo
  echo "Salarii:"
  sqlite3 -header -column "$db" "SELECT Angajat, Brut, Net, Impozit, Prima FROM Salarii ORDER BY Id LIMIT 5"
  echo
  echo "Registrul de casa in dBase (dbase/casa.dbf: Nr, Suma, TVA):"
  casa
}

if [ "$reset" = 1 ]; then
  rm -rf "$db" "$project" "$originals" "$dbase" "$demo"/raport-*.txt
fi

"$python" -c 'import dbf' 2>/dev/null || { echo "demo.sh: lipseste python3-dbf (apt-get install python3-dbf)" >&2; exit 2; }

if [ ! -f "$db" ] || [ ! -f "$project" ] || [ ! -f "$dbase/casa.dbf" ]; then
  rm -rf "$db" "$project" "$originals" "$dbase"
  echo "== Baza de date a firmei: $db"
  sqlite3 -bail "$db" <<'SQL'
CREATE TABLE Facturi (
  Id INTEGER PRIMARY KEY, Numar TEXT, Data TEXT, Moneda TEXT,
  Valoare DECIMAL(18,2), TVA DECIMAL(18,2), Total INTEGER);
CREATE TABLE Plati (
  Id INTEGER PRIMARY KEY, IdFactura INTEGER, Data TEXT, Suma INTEGER, Comision DOUBLE);
CREATE TABLE Salarii (
  Id INTEGER PRIMARY KEY, Angajat TEXT, Luna TEXT,
  Brut INTEGER, Net DOUBLE, Impozit DECIMAL(18,2), Prima DECIMAL(18,2));
INSERT INTO Facturi VALUES
  (1, 'F-0001', '2005-03-14', 'ROL', 12500000, 2375000, 14875000),
  (2, 'F-0002', '2005-04-02', 'ROL', 3333333.33, 633333.33, 3966667),
  (3, 'F-0003', '2005-04-20', 'EUR', 1200.50, 228.10, 1429),
  (4, 'F-0004', '2005-05-09', 'ROL', 99999, NULL, 99999),
  (5, 'F-0005', '2005-06-30', 'ROL', -450000, -85500, -535500),
  (6, 'F-0006', '2005-06-30', 'ROL', NULL, NULL, NULL);
INSERT INTO Plati VALUES
  (1, 1, '2005-03-20', 14875000, 15000.5),
  (2, 2, '2005-05-02', 2000000, NULL),
  (3, 2, '2005-06-15', 1966667, 2500),
  (4, 4, '2005-07-12', 10, NULL),
  (5, 5, '2005-07-20', -53, NULL);
INSERT INTO Salarii VALUES
  (1, 'Ionescu Maria', '2005-05', 15000000, 10836000.75, 2314000.25, 5000000),
  (2, 'Popescu Ion', '2005-05', 9500000, 7130000.5, 1193500, NULL),
  (3, 'Georgescu Ana', '2005-05', 7000000, 5342500, 810500.5, 0),
  (4, 'Ionescu Maria', '2005-06', 15000000, 10836000.75, 2314000.25, NULL);
SQL
  echo "== Registrul de casa in dBase: $dbase/casa.dbf"
  mkdir -p "$dbase"
  "$python" - "$dbase/casa.dbf" <<'PY'
import sys, decimal, datetime, warnings
warnings.filterwarnings("ignore")
import dbf
t = dbf.Table(sys.argv[1], "NR C(8); DATA D; SUMA N(14,2); TVA N(12,0)", dbf_type="db3")
t.open(dbf.READ_WRITE)
for row in [("C-001", datetime.date(2005, 3, 1), decimal.Decimal("2500000.00"), 475000),
            ("C-002", datetime.date(2005, 4, 15), decimal.Decimal("14949.50"), 2840),
            ("C-003", datetime.date(2005, 5, 20), decimal.Decimal("-750000.00"), -142500),
            ("C-004", datetime.date(2005, 6, 30), None, None)]:
    t.append(row)
t.close()
PY
  amounts > "$originals"

  echo "== Proiectul: $project (din $template)"
  cp "$template" "$project"
  chmod u+w "$project"
  conn="Provider=SQLite;Data Source=$db"
  sqlite3 -bail "$project" <<SQL
PRAGMA foreign_keys = ON;
INSERT INTO tConn (IdConnType, Description, ConnString, IntegratedSecurity, Offline)
  VALUES (6, 'Firma Demo SRL', '${conn//\'/\'\'}', 0, 0);
INSERT INTO tTable (IdConn, TableName, SQLWhere) VALUES (1, 'Facturi', 'Moneda = ''ROL''');
INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Plati');
INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Salarii');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Valoare', 'Valoare_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'TVA', 'TVA_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Total', 'Total_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName, SQLWhere) VALUES (2, 'Suma', 'Suma_VM', 'Data < ''2005-07-01''');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (2, 'Comision', 'Comision_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (3, 'Brut', 'Brut_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (3, 'Net', 'Net_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (3, 'Impozit', 'Impozit_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (3, 'Prima', 'Prima_VM');
INSERT INTO tConn (IdConnType, Description, DataSource, IntegratedSecurity, Offline)
  VALUES (5, 'Casa (dBase)', '${dbase//\'/\'\'}', 0, 0);
INSERT INTO tTable (IdConn, TableName) VALUES (2, 'casa.dbf');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (4, 'SUMA', 'SUMA_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (4, 'TVA', 'TVA_VM');
SQL
fi

echo
echo "== Inainte"
sample
echo
echo "== vamor --convert demo.vmd --to $to --yes --report raport-$to.txt"
status=0
(cd "$demo" && VAMOR_HOME="$demo" "$vamor" --convert demo.vmd --to "$to" --yes --report "raport-$to.txt") || status=$?
echo
echo "== Dupa"
sample
echo
echo "Raportul a fost scris in $demo/raport-$to.txt"
if [ "$to" = vechi ]; then
  if amounts | cmp -s - "$originals"; then
    echo "Toate sumele originale au fost refacute exact."
  else
    echo "ATENTIE: sumele difera de cele originale:" >&2
    amounts | diff "$originals" - >&2 || true
    status=1
  fi
fi
exit "$status"
