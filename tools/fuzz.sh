#!/usr/bin/env bash
# Runs each fuzz harness for the given number of seconds (default 60) on a
# copy of its corpus, with ASan and UBSan. Uses the sanitizer build of
# `KORVANA_SANITIZE=1 tools/test.sh` (build-asan/), making it when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
tools/install-deps.sh
if [ ! -f build-asan/CMakeCache.txt ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DKORVANA_SANITIZE=ON -DKORVANA_FUZZ=ON >/dev/null
fi
harnesses=$(find fuzz -name '*_fuzz.cpp' | sort)
cmake --build build-asan --target $(for h in $harnesses; do basename "$h" .cpp; done)
for harness in $harnesses; do
  name=$(basename "$harness" .cpp)
  work=$(mktemp -d)
  cp -r "$(dirname "$harness")/corpus/$name/." "$work/" 2>/dev/null || true
  echo "-- $name for ${seconds}s"
  if ! build-asan/bin/"$name" -max_total_time="$seconds" -max_len=30000 \
      -print_final_stats=0 "$work" >"$work.log" 2>&1; then
    tail -n 40 "$work.log"
    echo "$name failed"
    exit 1
  fi
  tail -n 1 "$work.log"
  rm -rf "$work" "$work.log"
done
