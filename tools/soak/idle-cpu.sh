#!/usr/bin/env bash
# Idle cost of the real program: CPU per minute and wake-ups per second of
# the whole process, read from /proc while it sits idle.
#
#   tools/soak/idle-cpu.sh connected|unreachable SECONDS [--status-window]
#
# connected:   the simulated core runs as the program's core and shares
#              KORVANA_SOAK_SHARED files (default 1,000); the program logs
#              in and stays idle.
# unreachable: the simulated core runs, but the program is told a port
#              where nothing listens, so every connection attempt fails.
# --status-window opens "Debug Status Messages" once (Ctrl+Shift+D) and
# closes it again before measuring.
#
# Needs an X display (DISPLAY, default :11; an Xvfb is started there when
# none answers) and xdotool. Ports: KORVANA_SOAK_PORT (default 14010) and
# the one after it. Prints one line per minute and a summary.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../offline-settings.sh"

mode=${1:?connected or unreachable}
seconds=${2:?seconds to measure}
statusWindow=${3:-}
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${KORVANA_BUILD:-$here/build}
port=${KORVANA_SOAK_PORT:-14010}
export DISPLAY=${DISPLAY:-:11}

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    sleep 1
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    if [[ -n "${corePid:-}" ]]; then kill "$corePid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x900x24 >/dev/null 2>&1 &
    pids+=($!)
    sleep 2
fi

export KORVANA_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
    XDG_DATA_HOME=$work/data KORVANA_AUDIO=null
mkdir -p "$KORVANA_HOME/mldonkey" "$XDG_CONFIG_HOME/Korvana" "$XDG_RUNTIME_DIR" "$work/shared"
chmod 700 "$XDG_RUNTIME_DIR"
for i in $(seq 1 "${KORVANA_SOAK_SHARED:-1000}"); do
    printf 'song %d\n' "$i" >"$work/shared/Song $i.mp3"
done
cp "$build/bin/korvana-sim" "$KORVANA_HOME/mldonkey/mlnet"
cat >"$KORVANA_HOME/mldonkey/downloads.ini" <<INI
 gui_port = $port
 shared_directories = [
  {     dirname = "$work/shared"
     strategy = only_directory
     priority = 0
};]
INI
linkPort=$port
[[ $mode == unreachable ]] && linkPort=$((port + 1))
# The web engines and the vendor point at a closed loopback port: an idle
# program asks them nothing, and if it did, no other run would answer.
write_offline_settings "$XDG_CONFIG_HOME/Korvana/Korvana.ini" "$linkPort"

"$build/bin/korvana" >"$work/app.out" 2>&1 &
app=$!
pids+=("$app")
sleep 15  # the splash, the log-in and the first polls
# The core runs as "mlnet": found by its executable, stopped at the end
# even when the program could not stop it.
for exe in /proc/[0-9]*/exe; do
    if [[ $(readlink "$exe" 2>/dev/null) == "$KORVANA_HOME/mldonkey/mlnet" ]]; then
        corePid=$(basename "$(dirname "$exe")")
    fi
done

if [[ $statusWindow == --status-window ]]; then
    # Focus, not activation: under a bare Xvfb no window manager answers.
    window=$(xdotool search --sync --onlyvisible --name '^Korvana MP3 Finder$' | head -1)
    xdotool windowfocus --sync "$window" key ctrl+shift+d
    sleep 3
    status=$(xdotool search --onlyvisible --name '^Debug Status Messages$' | head -1)
    [[ -n $status ]] || { echo "the status window did not open" >&2; exit 1; }
    xdotool windowfocus --sync "$status" key Escape
    sleep 2
    if xdotool search --onlyvisible --name '^Debug Status Messages$' >/dev/null; then
        echo "the status window did not close" >&2
        exit 1
    fi
fi

ticks=$(getconf CLK_TCK)
cpuTicks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
userTicks() { awk '{print $14}' "/proc/$app/stat"; }
switches() {
    cat /proc/"$app"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n}'
}

# Context switches by thread: "tid name count" per line.
threadSwitches() {
    for task in /proc/"$app"/task/*; do
        awk -v t="${task##*/}" -v n="$(tr " " _ <"$task/comm" 2>/dev/null)" \
            '/^(voluntary|nonvoluntary)_ctxt_switches/ {c += $2} END {print t, n, c}' \
            "$task/status" 2>/dev/null
    done
}

startThreads=$(threadSwitches)
startCpu=$(cpuTicks)
startUser=$(userTicks)
startLog=$(cat "$KORVANA_HOME"/korvana.log* | wc -l)
startSwitches=$(switches)
startTime=$(date +%s.%N)
lastCpu=$startCpu
minutes=$(((seconds + 59) / 60))
first=""
last=""
for minute in $(seq 1 "$minutes"); do
    step=$((seconds - (minute - 1) * 60))
    ((step > 60)) && step=60
    sleep "$step"
    now=$(cpuTicks)
    percent=$(awk -v d=$((now - lastCpu)) -v t="$ticks" -v s="$step" \
        'BEGIN {printf "%.3f", 100 * d / t / s}')
    echo "minute $minute: ${percent}% of a core"
    [[ -z $first ]] && first=$percent
    last=$percent
    lastCpu=$now
done
endTime=$(date +%s.%N)
endSwitches=$(switches)
endUser=$(userTicks)
awk -v c=$((lastCpu - startCpu)) -v u=$((endUser - startUser)) -v t="$ticks" -v a="$startTime" -v b="$endTime" \
    -v w=$((endSwitches - startSwitches)) -v f="$first" -v l="$last" -v m="$mode" \
    'BEGIN {
        s = b - a
        printf "%s: mean %.3f%% of a core over %.0f s (user %.3f%%, kernel %.3f%%); first minute %s%%, last %s%%; %.2f wake-ups/s (context switches of all threads)\n",
            m, 100 * c / t / s, s, 100 * u / t / s, 100 * (c - u) / t / s, f, l, w / s
    }'
echo "threads: $(ls /proc/$app/task | wc -l); wake-ups/s by thread:"
join <(sort <<<"$startThreads") <(threadSwitches | sort) |
    awk -v a="$startTime" -v b="$endTime" '{printf "  %s %.2f\n", $2, ($5 - $3) / (b - a)}'

echo "status-log lines in korvana.log and korvana.log.1: $startLog at the start, $(cat "$KORVANA_HOME"/korvana.log* | wc -l) at the end"
