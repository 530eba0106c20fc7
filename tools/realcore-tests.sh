#!/usr/bin/env bash
# Builds MLDonkey's core from its source (once, see tools/build-core.sh) and
# runs the integration tests against it, each test in a network namespace of
# its own whose only interface is loopback: the core tries to reach servers
# on the internet as soon as it starts, and there it reaches nothing.
#   tools/realcore-tests.sh [SOURCE]
# Needs root (for the namespaces). KORVANA_REALCORE_JOBS tests run at once
# (default 1: two cores starting side by side stalled more often);
# KORVANA_REALCORE_RETRY=0 turns off the second attempt at a failed test;
# KORVANA_NETNS_PREFIX names the namespaces (default korvana-rc);
# KORVANA_BUILD_DIR is the build tree (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVANA_BUILD_DIR:-build}"
jobs="${KORVANA_REALCORE_JOBS:-1}"
retry="${KORVANA_REALCORE_RETRY:-1}"
prefix="${KORVANA_NETNS_PREFIX:-korvana-rc}-$$"
started=$(date +%s)

mlnet="$(KORVANA_CORE_DIR="$PWD/$build/mldonkey-core" tools/build-core.sh "$@" | tail -1)"
core_built=$(date +%s)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANA_WERROR="${KORVANA_WERROR:-OFF}" >/dev/null
fi
cmake --build "$build" --target korvana_realcore_tests
binary="$PWD/$build/bin/korvana_realcore_tests"

mapfile -t tests < <("$binary" --gtest_list_tests | awk '
  /^[^ ]/ { suite = $1; next }
  /^  [^ ]/ { print suite $1 }')
results="$(mktemp -d)"
namespaces=()

cleanup() {
  for ns in "${namespaces[@]}" "${namespaces[@]/%/-retry}"; do
    for pid in $(ip netns pids "$ns" 2>/dev/null); do
      kill -9 "$pid" 2>/dev/null || true
    done
    ip netns delete "$ns" 2>/dev/null || true
    rm -rf "/etc/netns/$ns"
  done
}
trap cleanup EXIT

# One attempt at one test in a fresh namespace with only loopback, up; its
# output goes to $results/NS.log. Its name server is loopback too (ip netns
# exec puts /etc/netns/NS/resolv.conf in place of the machine's): a name
# server the core cannot reach can hold a look-up for minutes, while a
# loopback one that nothing answers fails each look-up at once.
attempt() {
  local name="$1" ns="$2" status=0
  mkdir -p "/etc/netns/$ns"
  printf 'nameserver 127.0.0.1\noptions timeout:1 attempts:1\n' >"/etc/netns/$ns/resolv.conf"
  ip netns add "$ns"
  ip netns exec "$ns" ip link set lo up
  ip netns exec "$ns" env KORVANA_REAL_MLNET="$mlnet" "$binary" --gtest_filter="$name" \
    >"$results/$ns.log" 2>&1 || status=1
  for pid in $(ip netns pids "$ns"); do
    kill -9 "$pid" 2>/dev/null || true
  done
  ip netns delete "$ns"
  rm -rf "/etc/netns/$ns"
  return "$status"
}

# A failed test runs once more (unless KORVANA_REALCORE_RETRY=0), in a fresh
# namespace: on a machine short of memory the whole core can stall for a
# minute, and one such stall must not fail the stage. A pass on the second
# attempt is listed as RETRIED with the first attempt's output, so a test
# that fails now and then stays in sight.
run_one() {
  local name="$1" ns="$2"
  if attempt "$name" "$ns"; then
    echo "ok      $name" >"$results/$ns.result"
  elif [ "$retry" != 0 ] && attempt "$name" "$ns-retry"; then
    echo "RETRIED $name" >"$results/$ns.result"
  else
    echo "FAILED  $name" >"$results/$ns.result"
  fi
}

index=0
for name in "${tests[@]}"; do
  ns="$prefix-$index"
  namespaces+=("$ns")
  index=$((index + 1))
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_one "$name" "$ns" &
done
wait

failed=0
retried=0
for ns in "${namespaces[@]}"; do
  cat "$results/$ns.result"
  if grep -q '^RETRIED' "$results/$ns.result"; then
    retried=$((retried + 1))
    sed 's/^/    first attempt: /' "$results/$ns.log"
  elif grep -q '^FAILED' "$results/$ns.result"; then
    failed=1
    sed 's/^/    /' "$results/$ns.log"
    if [ -f "$results/$ns-retry.log" ]; then
      sed 's/^/    second attempt: /' "$results/$ns-retry.log"
    fi
  elif grep -q '\[  SKIPPED \]' "$results/$ns.log"; then
    grep -A1 'Skipped' "$results/$ns.log" | sed 's/^/    /'
    failed=1
  fi
done
rm -rf "$results"
echo "real core: built in $((core_built - started)) s, ${#tests[@]} tests in $(( $(date +%s) - core_built )) s, $retried passed only when retried"
exit "$failed"
