#!/usr/bin/env bash
# Configures and builds Vamor in ./build (the program folder is build/bin).
#
#   scripts/build.sh            the program, its templates and help, and the
#                               tests and benches
#   scripts/build.sh --program  the program, its templates and its help only
set -euo pipefail
cd "$(dirname "$0")/.."
tests=ON
case "${1:-}" in
  --program) tests=OFF ;;
  "") ;;
  *) echo "build.sh: argument necunoscut: $1 (--program sau nimic)" >&2; exit 2 ;;
esac
# VAMOR_CXX_FLAGS sets the optimisation and debug information (scripts/test.sh
# builds with less of both, to build faster); CMake's own otherwise. Given at
# every configure, so that one build never keeps another's.
flags=${VAMOR_CXX_FLAGS:--O2 -g}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAMOR_BUILD_TESTS=$tests \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$flags -DNDEBUG"
cmake --build build -j"$(nproc)"
