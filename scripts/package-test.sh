#!/usr/bin/env bash
# The Debian package on a fresh Debian 12, end to end:
#   1. builds the package (its own build folder, build-package, without tests;
#      cpack -G DEB);
#   2. makes a fresh Debian 12 root with debootstrap --variant=minbase
#      bookworm, from the mirror this machine's own apt sources name;
#   3. installs the package there with "apt install ./vamor_....deb";
#   4. as an ordinary user, whose program folder /usr/bin is read-only,
#      converts a small firm's SQLite database with "vamor --convert" to new
#      lei and back: the working copy is made in the user's
#      ~/.local/share/Vamor, the amounts are checked against values worked
#      out by hand, and converting back gives every original amount;
#   5. opens the project in the desktop program (offscreen), as a double
#      click does through the desktop entry;
#   6. removes the package (apt purge) and checks nothing it installed is
#      left, and that the desktop's MIME and application caches no longer
#      name it.
# Needs root (debootstrap, chroot, mounts) and the network to the mirror.
#
#   scripts/package-test.sh [--deb FILE] [--keep]
#
# --deb FILE tests that package instead of building one; --keep leaves the
# Debian root in place (its path is printed). Exit status 0 when every check
# passed.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
deb=""
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --deb) deb=$(realpath "${2:?--deb needs a file}"); shift 2 ;;
    --keep) keep=1; shift ;;
    -h|--help) sed -n '2,24p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "package-test.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "package-test.sh: run as root (debootstrap, chroot)" >&2; exit 2; }
for tool in debootstrap sqlite3 dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "package-test.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

failures=0
check() { # check DESCRIPTION COMMAND...: runs the command, says ok or FAILED
  local what=$1
  shift
  if "$@"; then
    echo "  ok      $what"
  else
    echo "  FAILED  $what"
    failures=$((failures + 1))
  fi
}
step() { echo; echo "== $(date -u +%H:%M:%S) $*"; }
# finish PID: waits up to 30 s for the process to end (then kills it) and
# gives its exit status.
finish() {
  local pid=$1 status=0
  for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" || status=$?
  return "$status"
}

# ---------------------------------------------------------------- package
if [ -z "$deb" ]; then
  step "Building the package"
  build=$repo/build-package
  mkdir -p "$build"
  { cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVAMOR_BUILD_TESTS=OFF &&
    cmake --build "$build" -j"$(nproc)"; } > "$build/build.log" 2>&1 || { tail -30 "$build/build.log"; exit 1; }
  rm -f "$build"/package/vamor_*.deb
  (cd "$build" && cpack -G DEB -B "$build/package" | grep -E '^CPack: - package')
  deb=$(ls "$build"/package/vamor_*.deb)
fi
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends Suggests

# ---------------------------------------------------------------- mirror
mirror=$("$repo/scripts/debian-mirror.sh")
echo "mirror: $mirror"

# ---------------------------------------------------------------- Debian root
# shellcheck source=scripts/debian-root.sh
source "$repo/scripts/debian-root.sh"
step "debootstrap --variant=minbase bookworm (from $mirror)"
debian_root_make vamor-debian "$mirror" || exit 1

step "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >/dev/null
in_root sh -c "cd /tmp && apt install -y -q ./$(basename "$deb")" > "$root/tmp/apt-install.log" 2>&1 || {
  tail -30 "$root/tmp/apt-install.log"; exit 1; }
grep -E '^(Setting up|Processing triggers)' "$root/tmp/apt-install.log" | sed 's/^/  /' | grep -Ei 'vamor|mime|desktop|hicolor|triggers' || true
in_root dpkg -L vamor > "$root/tmp/vamor-files.txt"
check "the program is installed as /usr/bin/vamor" test -x "$root/usr/bin/vamor"
check "its templates are in /usr/share/vamor" test -f "$root/usr/share/vamor/Vamor.vmt"
check "every library the program needs is there" \
  sh -c "! chroot '$root' ldd /usr/bin/vamor | grep -q 'not found'"
if [ -f "$root/usr/share/mime/globs2" ]; then
  check "the MIME database knows *.vmd (shared-mime-info trigger)" \
    grep -q 'application/x-vamor-project:\*\.vmd' "$root/usr/share/mime/globs2"
fi
if [ -f "$root/usr/share/applications/mimeinfo.cache" ]; then
  check "the desktop database opens project files with vamor.desktop" \
    grep -q 'application/x-vamor-project=.*vamor.desktop' "$root/usr/share/applications/mimeinfo.cache"
fi

# ---------------------------------------------------------------- the user's project
step "An ordinary user's project: the firm's database and demo.vmd"
echo 'contabil:x:1000:1000:Contabil:/home/contabil:/bin/sh' >> "$root/etc/passwd"
echo 'contabil:x:1000:' >> "$root/etc/group"
user_home=$root/home/contabil
mkdir -p "$user_home"
db=$user_home/firma.db
project=$user_home/demo.vmd
sqlite3 -bail "$db" <<'SQL'
CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Moneda TEXT, Valoare DECIMAL(18,2), TVA DECIMAL(18,2), Total INTEGER);
CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, Brut INTEGER, Impozit DECIMAL(18,2));
INSERT INTO Facturi VALUES
  (1, 'ROL', 12500000, 2375000, 14875000),
  (2, 'ROL', 3333333.33, 633333.33, 3966667),
  (3, 'EUR', 1200.50, 228.10, 1429),
  (4, 'ROL', 99999, NULL, 99999),
  (5, 'ROL', -450000, -85500, -535500);
INSERT INTO Salarii VALUES (1, 15000000, 2314000.25), (2, 9500000, 1193500), (3, 7000000, 810500.5);
SQL
amounts() {
  sqlite3 "$db" "SELECT Id, quote(Valoare), quote(TVA), quote(Total) FROM Facturi ORDER BY Id;
                 SELECT Id, quote(Brut), quote(Impozit) FROM Salarii ORDER BY Id;"
}
amounts > "$root/tmp/originals.txt"
# The project, made from the installed template as the program makes one.
cp "$root/usr/share/vamor/Vamor.vmt" "$project"
sqlite3 -bail "$project" <<'SQL'
PRAGMA foreign_keys = ON;
INSERT INTO tConn (IdConnType, Description, ConnString, IntegratedSecurity, Offline)
  VALUES (6, 'Firma Demo SRL', 'Provider=SQLite;Data Source=/home/contabil/firma.db', 0, 0);
INSERT INTO tTable (IdConn, TableName, SQLWhere) VALUES (1, 'Facturi', 'Moneda = ''ROL''');
INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Salarii');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Valoare', 'Valoare_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'TVA', 'TVA_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Total', 'Total_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (2, 'Brut', 'Brut_VM');
INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (2, 'Impozit', 'Impozit_VM');
SQL
chown -R 1000:1000 "$user_home"
as_user() {
  chroot --userspec=1000:1000 "$root" env -i HOME=/home/contabil USER=contabil PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
check "the program folder /usr/bin is read-only for the user" as_user sh -c 'test -x /usr/bin/vamor && test ! -w /usr/bin'

# ---------------------------------------------------------------- to new lei
step "vamor --convert demo.vmd --to noi, as the user, answering at the question"
user_data=$user_home/.local/share/Vamor
fifo=$root/tmp/answer
mkfifo "$fifo"
chmod 666 "$fifo"
out=$root/tmp/convert-noi.txt
as_user sh -c 'cd /home/contabil && vamor --convert demo.vmd --to noi --report raport-noi.txt < /tmp/answer' > "$out" 2>&1 &
run=$!
# Opened for reading and writing, so that this side never waits for the
# program's side.
exec 3<>"$fifo"
for _ in $(seq 1 300); do
  grep -q 'Continuati?' "$out" && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.1
done
check "the run asks \"Continuati? (d/n)\"" grep -q 'Continuati?' "$out"
check "its working copy is in the user's ~/.local/share/Vamor" test -f "$user_data/~00001.tmp"
ls -la "$user_data" 2>&1 | sed 's/^/    /' || true
check "nothing is written beside the program" sh -c "! ls -A '$root/usr/bin' | grep -q '^~'"
echo d >&3
exec 3>&-
status=0
finish "$run" || status=$?
sed 's/^/    /' "$out"
check "the run ends with status 0" test "$status" -eq 0
check "the working copy is gone after the run" sh -c "! ls -A '$user_data' | grep -q '^~'"
check "the report was written" test -s "$user_home/raport-noi.txt"

# Worked out by hand: amount / 10 000, rounded once, halves away from zero,
# to 2 decimals (DECIMAL(18,2)) or to whole lei (INTEGER); the EUR invoice
# is outside the table's condition and stays.
expected_noi="1|1250|237.5|1488
2|333.33|63.33|397
3|1200.5|228.1|1429
4|10|NULL|10
5|-45|-8.55|-54
1|1500|231.4
2|950|119.35
3|700|81.05"
actual=$(amounts)
check "the amounts in new lei are the ones worked out by hand" test "$actual" = "$expected_noi"
[ "$actual" = "$expected_noi" ] || diff <(echo "$expected_noi") <(echo "$actual") | sed 's/^/    /'
check "the recovery columns hold the old amounts" test \
  "$(sqlite3 "$db" "SELECT quote(Valoare_VM) || ' ' || quote(Total_VM) FROM Facturi WHERE Id = 2")" = "3333333.33 3966667"

# ---------------------------------------------------------------- and back
step "vamor --convert demo.vmd --to vechi --yes"
status=0
as_user sh -c 'cd /home/contabil && vamor --convert demo.vmd --to vechi --yes' > "$root/tmp/convert-vechi.txt" 2>&1 || status=$?
tail -5 "$root/tmp/convert-vechi.txt" | sed 's/^/    /'
check "the run back ends with status 0" test "$status" -eq 0
back=$(amounts)
check "every original amount is back" test "$back" = "$(cat "$root/tmp/originals.txt")"

# ---------------------------------------------------------------- desktop program
step "vamor demo.vmd (what the desktop entry runs for a double click), offscreen"
# chroot and env hand their process over, so the signal reaches the program.
chroot --userspec=1000:1000 "$root" env -i HOME=/home/contabil USER=contabil PATH=/usr/bin:/bin LANG=C.UTF-8 \
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp sh -c 'cd /home/contabil && exec vamor demo.vmd' \
  > "$root/tmp/desktop.txt" 2>&1 &
run=$!
settings=$user_home/.config/Vamor/Vamor.conf
for _ in $(seq 1 200); do
  grep -q 'RecentFile1=/home/contabil/demo.vmd' "$settings" 2>/dev/null && break
  sleep 0.1
done
check "the project opens at once (working copy made, file at the head of the recent list)" \
  sh -c "grep -q 'RecentFile1=/home/contabil/demo.vmd' '$settings' && test -f '$user_data/~00001.tmp'"
kill -TERM "$run" 2>/dev/null || true
status=0
finish "$run" || status=$?
check "a logout (SIGTERM) ends it with status 0 and removes the working copy" \
  sh -c "[ $status -eq 0 ] && ! ls -A '$user_data' | grep -q '^~'"

# ---------------------------------------------------------------- removal
step "apt purge vamor"
in_root apt-get purge -y -q vamor > "$root/tmp/apt-purge.log" 2>&1 || { tail -20 "$root/tmp/apt-purge.log"; exit 1; }
left=$(while read -r path; do
         if [ -e "$root$path" ] && [ ! -d "$root$path" ]; then echo "$path"; fi
         if [ -d "$root$path" ] && [[ "$path" == /usr/share/vamor* ]]; then echo "$path"; fi
       done < "$root/tmp/vamor-files.txt")
check "no file of the package is left (dpkg -L)" test -z "$left"
[ -z "$left" ] || echo "$left" | sed 's/^/    /'
check "dpkg no longer knows the package" sh -c "! chroot '$root' dpkg -s vamor >/dev/null 2>&1"
check "no cache of the desktop names it any more" \
  sh -c "! grep -rqs 'x-vamor-project\|vamor.desktop' '$root/usr/share/mime' '$root/usr/share/applications'"
check "the user's own files stay (project, database)" test -f "$project" -a -f "$db"

echo
if [ "$failures" -eq 0 ]; then
  echo "Package test passed."
else
  echo "Package test: $failures check(s) FAILED."
fi
[ "$failures" -eq 0 ]
