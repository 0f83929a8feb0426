#!/usr/bin/env bash
# The Debian package made from ./build (cpack -G DEB into build/package), and
# what a desktop needs from it, checked without installing it:
#   - the program, both templates, the desktop entry, the icon and the MIME
#     type of project files at their places; the help when the build made it;
#   - the desktop entry valid (desktop-file-validate) and saying what opens
#     a project (Exec=vamor %f, the project type, Office;Finance);
#   - the MIME type recognised by update-mime-database: *.vmd is a Vamor
#     project;
#   - the dependencies declared: Qt 6, SQLite, unixODBC, the Qt SQLite driver;
#     the ODBC drivers recommended or suggested;
#   - the copyright file and the changelog of the version in /usr/share/doc.
# scripts/package-test.sh installs the package on a fresh Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for tool in cpack dpkg-deb desktop-file-validate update-mime-database; do
  command -v "$tool" >/dev/null || { echo "package-check.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

rm -f "$build"/package/vamor_*.deb
(cd "$build" && cpack -G DEB -B "$PWD/package") | grep -E '^CPack: - package'
deb=$(ls "$build"/package/vamor_*.deb)
work=$(mktemp -d /tmp/vamor-package-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s|^\./|/|' | grep -v '/$' > "$work/files.txt"

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "  ok      $what"; else echo "  FAILED  $what"; failures=$((failures + 1)); fi
}
has() { grep -qxF "$1" "$work/files.txt"; }
field() { dpkg-deb -f "$deb" "$1"; }

echo "package: $deb"
sed 's/^/    /' "$work/files.txt"
check "Package vamor, version of the project" test "$(field Package)" = vamor
for path in /usr/bin/vamor /usr/share/vamor/Vamor.vmt "/usr/share/vamor/Vamor 4 zecimale.vmt" \
            "/usr/share/vamor/Vamor BGN-EUR.vmt" "/usr/share/vamor/Vamor HRK-EUR.vmt" \
            /usr/share/applications/vamor.desktop /usr/share/mime/packages/vamor.xml \
            /usr/share/icons/hicolor/scalable/apps/vamor.svg \
            /usr/share/icons/hicolor/scalable/mimetypes/application-x-vamor-project.svg \
            /usr/share/doc/vamor/copyright /usr/share/doc/vamor/changelog.gz; do
  check "holds $path" has "$path"
done
if [ -f "$build/bin/Vamor.qhc" ]; then
  check "holds the help /usr/share/vamor/Vamor.qhc and Vamor.qch" \
    sh -c "grep -qxF /usr/share/vamor/Vamor.qhc '$work/files.txt' && grep -qxF /usr/share/vamor/Vamor.qch '$work/files.txt'"
fi
check "holds the translations /usr/share/vamor/vamor_en.qm and vamor_bg.qm" \
  sh -c "grep -qxF /usr/share/vamor/vamor_en.qm '$work/files.txt' && grep -qxF /usr/share/vamor/vamor_bg.qm '$work/files.txt'"
check "the installed program speaks English: VAMOR_LANG=en vamor --help" \
  sh -c "VAMOR_LANG=en '$work/root/usr/bin/vamor' --help | grep -q '^Usage:'"
check "the changelog names this version" sh -c "gzip -dc '$work/root/usr/share/doc/vamor/changelog.gz' | head -1 | grep -qF 'vamor ($(field Version))'"
check "nothing outside /usr" sh -c "! grep -v '^/usr/' '$work/files.txt'"
check "no maintainer scripts" sh -c "! dpkg-deb -I '$deb' | grep -Eq ' (pre|post)(inst|rm) '"
check "the program is stripped and runs: vamor --help" \
  sh -c "'$work/root/usr/bin/vamor' --help | grep -q 'vamor --convert'"

desktop=$work/root/usr/share/applications/vamor.desktop
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "the entry opens a file: Exec=vamor %f" grep -qx 'Exec=vamor %f' "$desktop"
check "the entry takes Vamor projects" grep -qx 'MimeType=application/x-vamor-project;' "$desktop"
check "the entry is in Office;Finance;" grep -qx 'Categories=Office;Finance;' "$desktop"
check "the entry's icon is the installed one" grep -qx 'Icon=vamor' "$desktop"

mkdir -p "$work/mime/packages"
cp "$work/root/usr/share/mime/packages/vamor.xml" "$work/mime/packages/"
cp /usr/share/mime/packages/freedesktop.org.xml "$work/mime/packages/" 2>/dev/null || true
check "update-mime-database reads the project type" sh -c "update-mime-database '$work/mime' >/dev/null 2>&1"
check "*.vmd is application/x-vamor-project" grep -qx '50:application/x-vamor-project:\*\.vmd' "$work/mime/globs2"

depends=$(field Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6help6 libqt6sql6-sqlite libsqlite3-0 libodbc2; do
  check "depends on $lib" grep -q "\b$lib\b" <<<"$depends"
done
others="$(field Recommends), $(field Suggests)"
for driver in odbc-postgresql odbc-mariadb tdsodbc odbc-mdbtools; do
  check "recommends or suggests $driver" grep -q "\b$driver\b" <<<"$others"
done

if [ "$failures" -eq 0 ]; then
  echo "Package check passed."
else
  echo "Package check: $failures check(s) FAILED."
fi
[ "$failures" -eq 0 ]
