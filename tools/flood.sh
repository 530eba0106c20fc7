#!/usr/bin/env bash
# Floods the real program with N core results from the simulated core and
# measures what a user would feel. For each N it prints one row:
#   listed_s  seconds from the core's last result frame to the last row listed
#   gap_ms    the longest the GUI thread did not turn, from the search until
#             one second after the last row
#   bytes     resident memory growth from the search to the last row, per result
#   total_s   seconds from the search to the last row
#
#   tools/flood.sh [-b BUILD_DIR] [-t SECONDS] [-f WORDS] N...
#
# With -f, once every row is listed the script types WORDS into the result
# list's filter box with xdotool (Ctrl+F, then one key every 150 ms), takes
# them back one key at a time, and adds two columns:
#   type_gap_ms  the longest the GUI thread did not turn while typing
#   fewest       the fewest rows the filter left listed
# Typing needs an X display: set KORVANA_FLOOD_DISPLAY (an Xvfb of your own).
#
# -t gives up on a run after that many seconds (default 120); a run that does
# not list all N rows in time makes the script fail. Each run has its own
# temporary folders and a free loopback port, and is offscreen unless
# KORVANA_FLOOD_DISPLAY names an X display. The program's probe file and the
# simulated core's output are kept when KORVANA_FLOOD_KEEP=1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/offline-settings.sh"
cd "$(dirname "$0")/.."
build=build
bound=120
words=
usage="usage: $0 [-b BUILD_DIR] [-t SECONDS] [-f WORDS] N..."
while getopts "b:t:f:" option; do
  case $option in
    b) build=$OPTARG ;;
    t) bound=$OPTARG ;;
    f) words=$OPTARG ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
if [ -n "$words" ] && [ -z "${KORVANA_FLOOD_DISPLAY:-}" ]; then
  echo "typing needs KORVANA_FLOOD_DISPLAY (an X display of your own)" >&2
  exit 2
fi
build=$(cd "$build" && pwd)

app_pid=
sim_pid=
run_dir=
cleanup() {
  for pid in $app_pid $sim_pid; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in $app_pid $sim_pid; do
    for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  app_pid= sim_pid=
  if [ -n "$run_dir" ] && [ "${KORVANA_FLOOD_KEEP:-0}" != 1 ]; then
    rm -rf "$run_dir"
  fi
  run_dir=
}
trap cleanup EXIT

# The monotonic clock in nanoseconds, as the probe and the core write it.
now_ns() { awk '{ printf "%.0f\n", $1 * 1e9 }' /proc/uptime; }

# Waits until the probe has listed `n` rows, the program ended or the bound
# passed; true when every row was listed.
wait_listed() {
  local probe=$1 n=$2 deadline=$(($(date +%s) + bound))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    if [ -f "$probe" ] && awk -v n="$n" '$2 == "rows" && $3 >= n { found = 1 } END { exit !found }' "$probe"; then
      return 0
    fi
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# One row of the table from the probe's lines, the core's report of its last
# frame and the time the wait ended. A run that did not list every row shows
# how many it listed, and counts a freeze still going on as a gap.
summarise() {
  local probe=$1 n=$2 sent=$3 listed=$4 ended=$5
  awk -v n="$n" -v sent="$sent" -v listed="$listed" -v ended="$ended" '
    { seen = $1 }
    $2 == "rss" { rss = $3 }
    $2 == "search" && !search { search = $1; base = rss }
    $2 == "rows" { rows = $3 }
    $2 == "rows" && $3 >= n && !last { last = $1 }
    $2 == "rss" && last && $1 <= last + 1e9 { grown = $3 }
    $2 == "gap" && search && (!last || $1 <= last + 1e9) && $3 > gap { gap = $3 }
    END {
      if (!listed || !last) {
        freeze = (ended - seen) / 1e6
        if (freeze > gap) gap = freeze
        printf "%9d  %9s  %7d  %7s  %8s  only %d rows listed\n", n, "-", gap, "-", "-", rows
        exit
      }
      printf "%9d  %9.2f  %7d  %7.0f  %8.2f\n", n, (last - sent) / 1e9, gap,
             (grown - base) / n, (last - search) / 1e9
    }' "$probe"
}

# Types the words into the filter box of the program's window and takes them
# back, one key every 150 ms; prints the start and end of the typing (ns).
type_filter() {
  local window start end
  window=$(DISPLAY=$KORVANA_FLOOD_DISPLAY xdotool search --onlyvisible --pid "$app_pid" | head -1)
  [ -n "$window" ] || { echo "no window of the program to type into" >&2; return 1; }
  export DISPLAY=$KORVANA_FLOOD_DISPLAY
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+f
  sleep 0.5
  start=$(now_ns)
  xdotool type --delay 150 "$words"
  for _ in $(seq ${#words}); do xdotool key --delay 150 BackSpace; done
  sleep 1
  end=$(now_ns)
  echo "$start $end"
}

# The longest gap and the fewest rows listed between two times of the probe.
summarise_typing() {
  local probe=$1 start=$2 end=$3
  awk -v start="$start" -v end="$end" '
    $1 >= start && $1 <= end && $2 == "gap" && $3 > gap { gap = $3 }
    $1 >= start && $1 <= end && $2 == "rows" && (fewest == "" || $3 < fewest) { fewest = $3 }
    END { printf "  %11d  %7s", gap, fewest == "" ? "-" : fewest }' "$probe"
}

run_one() {
  local n=$1
  run_dir=$(mktemp -d)
  local home=$run_dir/home
  mkdir -p "$home/mldonkey" "$run_dir/config/Korvana" "$run_dir/run" "$run_dir/data"
  chmod 700 "$run_dir/run"
  # A copy, not a link: the program finds a running core by its executable.
  cp "$build/bin/korvana-sim" "$home/mldonkey/mlnet"
  (cd "$home/mldonkey" && exec ./mlnet --dir . --port 0 --ready-file "$run_dir/ready" \
      --no-stats --flood "$n") 2>"$run_dir/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$run_dir/ready" ] && break; sleep 0.1; done
  [ -s "$run_dir/ready" ] || { echo "the simulated core did not start" >&2; return 1; }
  # The web engines and the vendor point at a closed loopback port, so the
  # run stays on this machine and only core results arrive.
  write_offline_settings "$run_dir/config/Korvana/Korvana.ini" "$(cat "$run_dir/ready")"
  local platform=(QT_QPA_PLATFORM=offscreen)
  if [ -n "${KORVANA_FLOOD_DISPLAY:-}" ]; then
    platform=(QT_QPA_PLATFORM=xcb "DISPLAY=$KORVANA_FLOOD_DISPLAY")
  fi
  env KORVANA_HOME="$home" XDG_CONFIG_HOME="$run_dir/config" XDG_RUNTIME_DIR="$run_dir/run" \
    XDG_DATA_HOME="$run_dir/data" KORVANA_AUDIO=null "${platform[@]}" \
    KORVANA_PROBE="$run_dir/probe" KORVANA_PROBE_SEARCH=flood \
    "$build/bin/korvana" >"$run_dir/app.out" 2>&1 &
  app_pid=$!
  local listed=1
  wait_listed "$run_dir/probe" "$n" || listed=0
  [ "$listed" = 0 ] || sleep 1.2
  local ended sent
  ended=$(now_ns)
  sent=$(sed -n 's/^korvana-sim: flood sent at \([0-9]*\) ns$/\1/p' "$run_dir/sim.err" | tail -1)
  local row
  row=$(summarise "$run_dir/probe" "$n" "${sent:-0}" "$listed" "$ended")
  if [ -n "$words" ] && [ "$listed" = 1 ]; then
    local typed
    typed=$(type_filter) || return 1
    row+=$(summarise_typing "$run_dir/probe" $typed)
  fi
  echo "$row"
  [ "${KORVANA_FLOOD_KEEP:-0}" != 1 ] || echo "kept: $run_dir" >&2
  local status=0
  [ "$listed" = 1 ] || status=1
  cleanup
  return $status
}

if [ -n "$words" ]; then
  printf "%9s  %9s  %7s  %7s  %8s  %11s  %7s\n" results listed_s gap_ms bytes total_s type_gap_ms fewest
else
  printf "%9s  %9s  %7s  %7s  %8s\n" results listed_s gap_ms bytes total_s
fi
failed=0
for n in "$@"; do
  run_one "$n" || failed=1
done
exit $failed
