#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   tools/test.sh                 normal build in build/
#   KORVANA_SANITIZE=1 tools/test.sh   clang ASan+UBSan build in build-asan/, with
#                                      the fuzz harnesses on libFuzzer
#   KORVANA_TSAN=1 tools/test.sh       clang ThreadSanitizer build in build-tsan/
#                                      of the logic tests only
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

# Timings under the sanitizers mean nothing, so the benchmarks are left out.
clang=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVANA_BENCH=OFF)
targets=()
if [ "${KORVANA_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  extra=("${clang[@]}" -DKORVANA_SANITIZE=ON -DKORVANA_FUZZ=ON)
elif [ "${KORVANA_TSAN:-0}" = 1 ]; then
  build=build-tsan
  extra=("${clang[@]}" -DKORVANA_TSAN=ON)
  targets=(--target korvana_tests)
else
  build=build
  extra=()
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANA_WERROR="${KORVANA_WERROR:-OFF}" "${extra[@]}" >/dev/null
cmake --build "$build" "${targets[@]}"
if [ "${KORVANA_TSAN:-0}" = 1 ]; then
  # The threaded logic: core link, web search, size probes, downloads,
  # vendor services. The program and the widget tests run on a Qt that is
  # not built for the sanitizer, whose own locking it cannot see, so the
  # tests that start the program are left out.
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
  exec "$build/bin/korvana_tests" --gtest_filter='-ProcessLife.*' --gtest_brief=1
fi
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

# The tests against a real MLDonkey core, in the normal build only, when its
# source is at hand and network namespaces can be made (as root).
if [ "$build" = build ] && [ "${KORVANA_SKIP_REALCORE:-0}" != 1 ]; then
  source=""
  for candidate in "${KORVANA_CORE_SOURCE:-}" ../shared/mldonkey-3.2.1-src.tar.gz \
      ../../shared/mldonkey-3.2.1-src.tar.gz; do
    if [ -n "$candidate" ] && [ -e "$candidate" ]; then source="$candidate"; break; fi
  done
  if [ -z "$source" ]; then
    echo "Real-core tests skipped: no MLDonkey source (../shared/mldonkey-3.2.1-src.tar.gz or KORVANA_CORE_SOURCE)."
  elif [ "$(id -u)" -ne 0 ]; then
    echo "Real-core tests skipped: they need root to create loopback-only network namespaces."
  else
    tools/realcore-tests.sh "$source"
  fi
fi
