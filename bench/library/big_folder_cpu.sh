#!/bin/sh
# The whole program's CPU while its downloads folder holds 20,000 files:
# first at rest, then while one more file grows by 4 KB ten times a second
# (a download under way). The program runs against the simulated core in
# folders of its own, on an X display you give.
#
#   bench/library/big_folder_cpu.sh BUILD_DIR DISPLAY PORT [SECONDS]
#
# Prints the percent of one core the program used in each stretch, from
# /proc/PID/stat (user + system ticks).
set -eu

build=$1
display=$2
port=$3
seconds=${4:-60}

work=$(mktemp -d)
export KORVANA_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
       XDG_DATA_HOME="$work/data" KORVANA_AUDIO=null DISPLAY="$display"
program=
grower=
# Stops what this script started: the program, the grower and the core the
# program started from this script's own folder.
finish() {
    [ -n "$grower" ] && kill "$grower" 2>/dev/null || true
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    wait 2>/dev/null || true
    for exe in /proc/[0-9]*/exe; do
        if [ "$(readlink "$exe" 2>/dev/null)" = "$KORVANA_HOME/mldonkey/mlnet" ]; then
            pid=${exe#/proc/}
            kill "${pid%/exe}" 2>/dev/null || true
        fi
    done
    rm -rf "$work"
}
trap finish EXIT
mkdir -p "$KORVANA_HOME/mldonkey" "$KORVANA_HOME/Downloads/album" "$XDG_CONFIG_HOME/Korvana" \
         "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$build/bin/mldonkey/mlnet" "$KORVANA_HOME/mldonkey/mlnet"
printf 'gui_port = %s\n' "$port" > "$KORVANA_HOME/mldonkey/downloads.ini"
printf '[Software]\nKorvana\\CoreHost=127.0.0.1\nKorvana\\CorePort=%s\n' "$port" \
    > "$XDG_CONFIG_HOME/Korvana/Korvana.ini"

# 20,000 small files, dated back so that they count as settled.
(cd "$KORVANA_HOME/Downloads/album" && seq 1 20000 | sed 's/.*/track &.mp3/' |
    xargs -d '\n' touch -d '1 hour ago')
touch -d '1 hour ago' "$KORVANA_HOME/Downloads/album"

"$build/bin/korvana" > "$work/program.log" 2>&1 &
program=$!

ticks() {
    awk '{ print $14 + $15 }' "/proc/$program/stat"
}

# Percent of one core over the next $seconds seconds.
measure() {
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    hz=$(getconf CLK_TCK)
    echo "$after $before $hz $seconds" | awk '{ printf "%.2f", 100 * ($1 - $2) / $3 / $4 }'
}

sleep 20  # start-up, log-in and the first listing of the folder
echo "at rest: $(measure) % of a core"

(while :; do head -c 4096 /dev/zero >> "$KORVANA_HOME/Downloads/album/downloading.mp3";
     sleep 0.1; done) &
grower=$!
sleep 6  # the new file is listed
echo "one file growing: $(measure) % of a core"
