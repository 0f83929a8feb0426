#!/usr/bin/env bash
# Builds Vamor and its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-asan and runs the test suite there.
# Any sanitizer report fails the test that caused it.
#
#   scripts/sanitize.sh [CTEST ARGUMENTS...]    e.g. -R Recordset, -LE robustness
#   scripts/sanitize.sh --engine [CTEST ARGUMENTS...]
#       only the engine's tests: the database layer, the providers, the
#       conversion and the project, without windows and without running the
#       program itself (label "engine"); builds only what they need
#
# The test servers are those of the environment (VAMOR_TEST_PG,
# VAMOR_TEST_MARIADB), as for the normal suite.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan

target=all
scope=()
engine_only=OFF
if [ "${1:-}" = --engine ]; then
  shift
  target=vamor_engine_tests
  scope=(-L engine)
  engine_only=ON
fi

# -O1 with line tables: what the sanitizers' reports need (file and line of
# every frame), in much less time than -O2 -g.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAMOR_SANITIZE=ON -DVAMOR_ENGINE_TESTS_ONLY=$engine_only \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$target"

# Leaks are looked for (LeakSanitizer is on by default); those of the system
# libraries are in the suppressions file. The slow unwinder gives whole
# stacks through the libraries built without frame pointers, which the
# suppressions need; the robustness tests, which load no such library and
# run the program hundreds of times, keep the fast one.
# intercept_tls_get_addr=0: the sanitizer runtime of Debian 12's gcc misreads
# the thread-local blocks of libraries loaded at run time (the ODBC drivers)
# and its leak check then dies at exit ("Tracer caught signal 11"); those
# blocks are still found as heap memory through the threads' own records.
options=intercept_tls_get_addr=0:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0}

status=0
ASAN_OPTIONS=${ASAN_OPTIONS:-fast_unwind_on_malloc=0:$options} \
  ctest --test-dir "$build" --output-on-failure --timeout 1200 -j2 -LE robustness "${scope[@]}" "$@" || status=1
if [ "$target" = all ]; then
  ASAN_OPTIONS=${ASAN_OPTIONS:-$options} \
    ctest --test-dir "$build" --output-on-failure --timeout 1200 -j2 -L robustness "$@" || status=1
fi
exit "$status"
