#!/usr/bin/env bash
# Builds the fuzz harnesses with libFuzzer, ASan and UBSan (clang) and runs
# each for the given number of seconds (default 60) on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
tools/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVANA_SANITIZE=ON -DKORVANA_FUZZ=ON >/dev/null
cmake --build build-fuzz --target $(find fuzz -name '*_fuzz.cpp' -printf '%f\n' | sed 's/\.cpp$//')
for harness in $(find fuzz -name '*_fuzz.cpp'); do
  name=$(basename "$harness" .cpp)
  corpus="$(dirname "$harness")/corpus/$name"
  work=$(mktemp -d)
  cp -r "$corpus/." "$work/" 2>/dev/null || true
  echo "-- $name for ${seconds}s"
  build-fuzz/bin/"$name" -max_total_time="$seconds" -max_len=30000 -print_final_stats=0 "$work" 2>&1 | tail -n 2
  rm -rf "$work"
done
