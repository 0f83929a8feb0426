#!/usr/bin/env bash
# Installs what is missing, builds, starts private PostgreSQL and MariaDB
# servers and runs every test:
#   1. the test suite (ctest in ./build), with the robustness tests: runs
#      killed at random moments, a server lost in the middle of a field;
#   2. the Debian package built from it and checked (scripts/package-check.sh);
#   3. the engine's tests (the database layer, the providers, the conversion,
#      the project; no windows) built under AddressSanitizer and
#      UndefinedBehaviorSanitizer (scripts/sanitize.sh --engine,
#      ./build-asan; scripts/sanitize.sh alone runs the whole suite so);
#   4. the fuzz targets, each for a bounded time (scripts/fuzz.sh,
#      ./build-fuzz, VAMOR_FUZZ_SECONDS per target, 10 by default here).
# Every part runs even when an earlier one fails; the exit status is not 0
# when any failed. A summary of the figures ends the output.
# Set VAMOR_SKIP_INSTALL=1 to skip the packages.
set -euo pipefail
cd "$(dirname "$0")/.."
# The checks read the program's own (Romanian) texts whatever the machine's
# locale; the language tests choose their languages themselves.
export VAMOR_LANG=ro

if [ "${VAMOR_SKIP_INSTALL:-0}" != "1" ]; then
  scripts/install-deps.sh
fi
# The tests' build: optimised and with line tables only, which builds in
# about half the time of the program's own flags.
VAMOR_CXX_FLAGS=${VAMOR_CXX_FLAGS:--O1 -g1} scripts/build.sh

servers_dir=$(mktemp -d /tmp/vamor-servers.XXXXXX)
chmod 755 "$servers_dir"
notes=$(mktemp -d /tmp/vamor-test-notes.XXXXXX)
cleanup() {
  tests/servers.sh stop "$servers_dir" || true
  rm -rf "$servers_dir" "$notes"
}
trap cleanup EXIT

if tests/servers.sh start "$servers_dir"; then
  echo "Test servers started."
else
  echo "!!! One or more test servers did not start; the tests that need them will skip (or fail under CI=true)."
fi
if [ -f "$servers_dir/env.sh" ]; then
  # shellcheck disable=SC1091
  source "$servers_dir/env.sh"
fi

failed_parts=()
passed_total=0
failed_total=0

# run_part NAME COMMAND...: runs a part, keeps its output in $notes/NAME.log
# and its time, and adds the counts of its ctest closing lines.
run_part() {
  local name=$1 started status=0 line counted=0
  shift
  echo
  echo "======== $name"
  started=$(date +%s)
  "$@" 2>&1 | tee "$notes/$name.log" || status=$?
  echo "$(( $(date +%s) - started ))" > "$notes/$name.seconds"
  while read -r line; do
    local total failed
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    passed_total=$((passed_total + total - failed))
    failed_total=$((failed_total + failed))
    counted=$((counted + total))
  done < <(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$notes/$name.log" || true)
  echo "$counted" > "$notes/$name.tests"
  if [ "$status" -ne 0 ]; then
    failed_parts+=("$name")
    [ "$counted" -eq 0 ] && failed_total=$((failed_total + 1))
  fi
  return 0
}

VAMOR_ROBUSTNESS_SUMMARY=$notes/robustness.txt \
  run_part tests ctest --test-dir build --output-on-failure --timeout 1200 -j2
# The Debian package of ./build: its contents, desktop entry and MIME type
# (scripts/package-test.sh installs it on a fresh Debian 12; too slow here).
run_part package scripts/package-check.sh
VAMOR_ROBUSTNESS_SUMMARY=$notes/robustness-sanitized.txt \
  run_part sanitizers scripts/sanitize.sh --engine
VAMOR_FUZZ_SUMMARY=$notes/fuzz.txt VAMOR_FUZZ_SECONDS=${VAMOR_FUZZ_SECONDS:-10} \
  run_part fuzzing scripts/fuzz.sh

echo
echo "======== Summary"
for part in tests package sanitizers fuzzing; do
  printf '%-11s %5ss\n' "$part" "$(cat "$notes/$part.seconds" 2>/dev/null || echo '?')"
done
if [ -s "$notes/robustness.txt" ]; then
  sed 's/^/  /' "$notes/robustness.txt"
else
  echo "  robustness tests: no figures (did they run?)"
fi
if [ -s "$notes/robustness-sanitized.txt" ]; then
  sed 's/^/  under the sanitizers, /' "$notes/robustness-sanitized.txt"
fi
sanitized=$(grep -E '^[0-9]+% tests passed' "$notes/sanitizers.log" 2>/dev/null | tr '\n' ';' || true)
suites=$(ctest --test-dir build-asan -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: \([^.]*\)\..*/\1/p' | sort -u | tr '\n' ' ' || true)
echo "  sanitizers (ASan+UBSan): $(cat "$notes/sanitizers.tests" 2>/dev/null || echo 0) tests, the whole suite: ${sanitized:-did not finish}"
echo "    suites: ${suites:-none}"
if [ -s "$notes/fuzz.txt" ]; then
  while read -r _ target execs result; do
    [ "$result" = ok ] && passed_total=$((passed_total + 1)) || failed_total=$((failed_total + 1))
    printf '  fuzz %-12s %10s executions  %s\n' "$target" "$execs" "$result"
  done < "$notes/fuzz.txt"
else
  echo "  fuzzing: no figures (did it run?)"
fi
if [ ${#failed_parts[@]} -gt 0 ]; then
  echo "FAILED parts: ${failed_parts[*]}"
fi
echo "total: $passed_total passed, $failed_total failed"
[ ${#failed_parts[@]} -eq 0 ]
