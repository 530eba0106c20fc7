#!/usr/bin/env bash
# The library under load, through the real program: many files arriving in
# the downloads folder at once, then one file growing there.
#
#   tools/soak/library-arrivals.sh [FILES] [SECONDS]
#
# FILES (default 20000) files are made beside the downloads folder and
# renamed into it in one burst; the script waits until the library lists
# them all and prints the time that took and the longest the GUI thread did
# not turn meanwhile (from the program's KORVANA_PROBE lines). Then it
# starts the program again over the full folder and reads its CPU for
# SECONDS (default 60) idle, and for as long again while one file in the
# folder grows by 64 KB twice a second.
# Runs offscreen against the simulated core; KORVANA_SOAK_PORT (default
# 14060) is the core's port.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../offline-settings.sh"

files=${1:-20000}
seconds=${2:-60}
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${KORVANA_BUILD:-$here/build}
port=${KORVANA_SOAK_PORT:-14060}

work=$(mktemp -d)
app=
cleanup() {
    [[ -z $app ]] || kill "$app" 2>/dev/null || true
    sleep 1
    [[ -z $app ]] || kill -9 "$app" 2>/dev/null || true
    for exe in /proc/[0-9]*/exe; do
        if [[ $(readlink "$exe" 2>/dev/null) == "$work/home/mldonkey/mlnet" ]]; then
            kill -9 "$(basename "$(dirname "$exe")")" 2>/dev/null || true
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT

export KORVANA_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
    XDG_DATA_HOME=$work/data KORVANA_AUDIO=null QT_QPA_PLATFORM=offscreen \
    KORVANA_PROBE=$work/probe
downloads=$KORVANA_HOME/Downloads
mkdir -p "$KORVANA_HOME/mldonkey" "$XDG_CONFIG_HOME/Korvana" "$XDG_RUNTIME_DIR" "$downloads" \
    "$work/staging"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$build/bin/korvana-sim" "$KORVANA_HOME/mldonkey/mlnet"
printf ' gui_port = %d\n' "$port" >"$KORVANA_HOME/mldonkey/downloads.ini"
write_offline_settings "$XDG_CONFIG_HOME/Korvana/Korvana.ini" "$port"
python3 - "$work/staging" "$files" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    with open(os.path.join(folder, f"Arrival {i:05d}.mp3"), "wb") as f:
        f.write(b"ID3" + bytes(64))
PY

now_ns() { awk '{ printf "%.0f\n", $1 * 1e9 }' /proc/uptime; }
cpuTicks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
ticks=$(getconf CLK_TCK)

"$build/bin/korvana" >"$work/app.out" 2>&1 &
app=$!
sleep 15  # the splash, the log-in, the first scan of the empty folder

started=$(now_ns)
python3 - "$work/staging" "$downloads" <<'PY'
import os, sys
source, target = sys.argv[1], sys.argv[2]
for name in os.listdir(source):
    os.rename(os.path.join(source, name), os.path.join(target, name))
PY
listed=
for _ in $(seq 600); do
    if awk -v n="$files" '$2 == "library" && $3 >= n { found = 1 } END { exit !found }' \
        "$work/probe"; then
        listed=1
        break
    fi
    sleep 0.1
done
sleep 1
awk -v start="$started" -v n="$files" -v listed="$listed" '
    $2 == "library" && $3 >= n && !last { last = $1 }
    $2 == "gap" && $1 >= start && (!last || $1 <= last + 1e9) && $3 > gap { gap = $3 }
    END {
        if (!listed) { printf "%d files: not all listed within 60 s\n", n; exit 1 }
        printf "%d files arriving: listed after %.2f s, longest GUI gap %d ms\n",
               n, (last - start) / 1e9, gap
    }' "$work/probe"

# The probe's own 10 ms timer would count as idle work: the CPU is read in a
# second run of the program, without the probe, over the same folder.
kill "$app"
wait "$app" 2>/dev/null || true
unset KORVANA_PROBE
"$build/bin/korvana" >>"$work/app.out" 2>&1 &
app=$!
sleep 20  # the splash, the log-in, the first scan of the full folder

measure() {
    local before after
    before=$(cpuTicks)
    sleep "$seconds"
    after=$(cpuTicks)
    awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN {printf "%.3f", 100 * d / t / s}'
}
echo "idle beside $files files: $(measure)% of a core over $seconds s"
(
    for _ in $(seq $((seconds * 2 + 4))); do
        head -c 65536 /dev/zero >>"$downloads/Growing.mp3"
        sleep 0.5
    done
) &
grower=$!
echo "one file growing beside $files files: $(measure)% of a core over $seconds s"
kill "$grower" 2>/dev/null || true
wait "$grower" 2>/dev/null || true
