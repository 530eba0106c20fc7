#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   tools/test.sh                 normal build in build/
#   KORVANA_SANITIZE=1 tools/test.sh   clang ASan+UBSan build in build-asan/, with
#                                      the fuzz harnesses on libFuzzer
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

if [ "${KORVANA_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  # Timings under the sanitizers mean nothing, so the benchmarks are left out.
  extra=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVANA_SANITIZE=ON
         -DKORVANA_FUZZ=ON -DKORVANA_BENCH=OFF)
else
  build=build
  extra=()
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANA_WERROR="${KORVANA_WERROR:-OFF}" "${extra[@]}" >/dev/null
cmake --build "$build"
if [ "${KORVANA_SANITIZE:-0}" = 1 ]; then
  # No audio output modules under the sanitizers: the sound system's plugins
  # keep allocations past exit from libraries already unloaded, which the
  # leak checker reports without being able to name them. The player falls
  # back to silent output, as on any machine without sound.
  MPG123_MODDIR="$(mktemp -d)"
  export MPG123_MODDIR
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j2
