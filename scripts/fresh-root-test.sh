#!/usr/bin/env bash
# The README's commands on a fresh minimal Debian 12, timed:
#   1. makes a fresh Debian 12 root with debootstrap --variant=minbase
#      bookworm, from the mirror this machine's own apt sources name;
#   2. copies the repository into it as /src/vamor: a clean git clone of the
#      current HEAD of this checkout (uncommitted changes are not taken),
#      with ../shared/testdata beside it (/src/shared/testdata), which the
#      tests read;
#   3. runs there, as root, one of
#        main  ./scripts/main.sh: installs what the program needs, builds the
#              program and runs the demonstration; checks that it ended well
#              (status 0, the report written);
#        test  CI=true .ci/run: installs everything, builds, starts the
#              private test servers and runs every test; prints the summary;
#      and prints how long it took, package downloads included.
# Needs root (debootstrap, chroot, mounts) and the network to the mirror.
#
#   scripts/fresh-root-test.sh main|test [--keep]
#
# --keep leaves the Debian root in place (its path is printed). Exit status 0
# when the command ended well.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
mode=""
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    main|test) mode=$1; shift ;;
    --keep) keep=1; shift ;;
    -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "fresh-root-test.sh: unknown argument $1 (main or test, --keep)" >&2; exit 2 ;;
  esac
done
[ -n "$mode" ] || { echo "usage: scripts/fresh-root-test.sh main|test [--keep]" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || {
  echo "fresh-root-test.sh: run as root: it makes a Debian root with debootstrap and runs the command in it with chroot" >&2
  exit 2
}
for tool in debootstrap git chroot; do
  command -v "$tool" >/dev/null || { echo "fresh-root-test.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
testdata=$(cd "$repo/.." && pwd)/shared/testdata
if [ ! -d "$testdata" ]; then
  if [ "$mode" = test ]; then
    echo "fresh-root-test.sh: $testdata is missing; the tests read it" >&2
    exit 2
  fi
  testdata=""
fi
head=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  echo "fresh-root-test.sh: note: uncommitted changes in $repo are not part of the test (HEAD ${head:0:12} is)"
fi

step() { echo; echo "== $(date -u +%H:%M:%S) $*"; }
mirror=$("$repo/scripts/debian-mirror.sh")

# ---------------------------------------------------------------- Debian root
# shellcheck source=scripts/debian-root.sh
source "$repo/scripts/debian-root.sh"
step "debootstrap --variant=minbase bookworm (from $mirror)"
started=$(date +%s)
debian_root_make vamor-fresh "$mirror" || exit 1
echo "root made in $(( $(date +%s) - started ))s"

step "The repository at ${head:0:12}, cloned into /src/vamor"
mkdir -p "$root/src"
git clone --quiet "$repo" "$root/src/vamor"
git -C "$root/src/vamor" checkout --quiet --detach "$head"
[ "$(git -C "$root/src/vamor" rev-parse HEAD)" = "$head" ] || { echo "fresh-root-test.sh: the clone is not at $head" >&2; exit 1; }
if [ -n "$testdata" ]; then
  mkdir -p "$root/src/shared"
  cp -a "$testdata" "$root/src/shared/testdata"
  echo "with $testdata as /src/shared/testdata ($(du -sh "$root/src/shared/testdata" | cut -f1))"
fi

# ---------------------------------------------------------------- the command
# The command's whole output stays beside the root, kept or not.
log=$root.$mode.log
case $mode in
  main) command=(./scripts/main.sh) ;;
  test) command=(env CI=true .ci/run) ;;
esac
step "${command[*]} (output in $log)"
started=$(date +%s)
status=0
in_root sh -c 'cd /src/vamor && exec "$@"' sh "${command[@]}" < /dev/null > "$log" 2>&1 || status=$?
elapsed=$(( $(date +%s) - started ))
minutes=$(awk -v s="$elapsed" 'BEGIN { printf "%.1f", s / 60 }')

echo
if [ "$mode" = main ]; then
  # The demonstration's closing part: its report and the amounts after.
  sed -n '/^== Dupa/,$p' "$log" | sed 's/^/    /'
  report=$root/src/vamor/vamor-demo/raport-noi.txt
  ok=1
  [ "$status" -eq 0 ] || { ok=0; tail -40 "$log" | sed 's/^/    /'; echo "  FAILED  the main job ended with status $status"; }
  [ -s "$report" ] || { ok=0; echo "  FAILED  no report was written ($report)"; }
  grep -q '^== Dupa' "$log" || { ok=0; echo "  FAILED  the demonstration did not get to its end"; }
  echo
  echo "main job: ${elapsed}s (${minutes} min), status $status, on $(in_root nproc) cores"
  if [ "$ok" = 1 ]; then echo "Main job on a fresh Debian 12 ended well."; else echo "Main job on a fresh Debian 12 FAILED."; fi
  [ "$ok" = 1 ]
else
  sed -n '/^======== Summary/,$p' "$log"
  echo
  echo "test command: ${elapsed}s (${minutes} min), status $status, on $(in_root nproc) cores"
  [ "$status" -eq 0 ]
fi
