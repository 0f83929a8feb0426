#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-fuzz and runs each for a bounded time
# over its seed corpus (tests/fuzz/corpus/<target>/, never written to: new
# inputs go to a temporary folder).
#
#   scripts/fuzz.sh [TARGET...]      all targets when none is named
#
#   VAMOR_FUZZ_SECONDS   seconds per target (default 30)
#   VAMOR_FUZZ_SUMMARY   a file to which one line per target is appended:
#                        "fuzz <target> <executions>"
#
# A crash, a sanitizer report, a broken property, a time-out or running out
# of memory fails the run; the input is kept in build-fuzz/artifacts/ and the
# command that replays it is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${VAMOR_FUZZ_SECONDS:-30}
build=build-fuzz
command -v clang++ >/dev/null || { echo "fuzz.sh: lipseste clang (scripts/install-deps.sh)" >&2; exit 2; }

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAMOR_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target vamor_fuzzers

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$build"/bin/fuzz_*; do
    [ -x "$f" ] && targets+=("${f##*/fuzz_}")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz.sh: no fuzz target was built" >&2; exit 2; }

work=$(mktemp -d /tmp/vamor-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
artifacts=$PWD/$build/artifacts
mkdir -p "$artifacts"

# Leaks are reported by libFuzzer itself (-detect_leaks=1 below), so they
# count as findings; allocations of the system libraries that live as long
# as the process are listed in the suppressions file.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0}

status=0
for target in "${targets[@]}"; do
  program=$build/bin/fuzz_$target
  seeds=tests/fuzz/corpus/$target
  [ -x "$program" ] || { echo "fuzz.sh: unknown target $target" >&2; status=1; continue; }
  [ -d "$seeds" ] || { echo "fuzz.sh: no seed corpus $seeds" >&2; status=1; continue; }
  mkdir -p "$work/$target"
  dict=()
  [ -f "tests/fuzz/dict/$target.dict" ] && dict=(-dict="tests/fuzz/dict/$target.dict")
  echo "== fuzz $target: ${seconds}s over $(find "$seeds" -type f | wc -l) seeds"
  log=$work/$target.log
  rc=0
  "$program" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$work/$target" "$seeds" >"$log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  execs=${execs:-0}
  if [ "$rc" -ne 0 ]; then
    status=1
    echo "!!! fuzz $target FAILED (exit $rc) after $execs executions:"
    grep -v '^#[0-9]' "$log" | tail -60
    for a in "$artifacts/$target"-*; do
      [ -f "$a" ] && echo "    replay: $program $a"
    done
  else
    echo "fuzz $target: $execs executions, $(find "$work/$target" -type f | wc -l) new inputs, no finding"
  fi
  if [ -n "${VAMOR_FUZZ_SUMMARY:-}" ]; then
    echo "fuzz $target $execs $([ "$rc" -eq 0 ] && echo ok || echo FAILED)" >> "$VAMOR_FUZZ_SUMMARY"
  fi
done
exit "$status"
