#!/usr/bin/env bash
# Makes the Debian package from an already-built tree, installs it with
# apt-get, checks its desktop entry and metainfo, runs the installed program
# headless against the installed simulated core until it has logged in, asks
# a second copy to raise it, reads its media controls on a private session
# bus, closes it, and removes the package again.
#   tools/package-check.sh [BUILD_FOLDER]     (default: build)
# Installs into /usr, so it needs root (or sudo); CI runs it as root on a
# fresh machine. Everything the program writes goes to a temporary folder;
# its web engines point at a closed loopback port.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/offline-settings.sh"
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
start=$(date +%s)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

rm -f "$build"/korvana_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/korvana_*.deb)
echo "package: $(basename "$deb")"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

work=$(mktemp -d)
app=""
core=""
bus=""
cleanup() {
  [ -z "$app" ] || kill "$app" 2>/dev/null || true
  [ -z "$core" ] || kill "$core" 2>/dev/null || true
  [ -z "$bus" ] || kill "$bus" 2>/dev/null || true
  "${as_root[@]}" apt-get remove -y -qq korvana >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "$deb" >/dev/null
desktop-file-validate /usr/share/applications/korvana.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.korvana.Finder.metainfo.xml
installed_core=/usr/lib/korvana/mldonkey/mlnet
test -x "$installed_core"
korvana --version

# The process whose executable is $1, or nothing.
process_of() {
  for exe in /proc/[0-9]*/exe; do
    if [ "$(readlink "$exe" 2>/dev/null)" = "$1" ]; then
      basename "$(dirname "$exe")"
      return
    fi
  done
}

# A user of the installed program: nothing of theirs in its install folder.
unset KORVANA_HOME
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen KORVANA_AUDIO=null
data=$XDG_DATA_HOME/korvana
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Korvana" "$XDG_RUNTIME_DIR" "$data/mldonkey"
chmod 700 "$XDG_RUNTIME_DIR"
# A loopback port nothing answers on.
while :; do
  port=$((20000 + RANDOM % 40000))
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
done
printf ' gui_port = %d\n' "$port" >"$data/mldonkey/downloads.ini"
write_offline_settings "$XDG_CONFIG_HOME/Korvana/Korvana.ini" "$port"

# A session bus of our own, for the media controls.
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS

korvana >"$work/app.out" 2>&1 &
app=$!
logged_in=0
for _ in $(seq 200); do
  if grep -q "Asking for downloading files" "$data/korvana.log" 2>/dev/null; then
    logged_in=1
    break
  fi
  sleep 0.1
done
core=$(process_of "$installed_core")
if [ "$logged_in" != 1 ] || [ -z "$core" ]; then
  echo "The installed program did not log in to the installed core." >&2
  cat "$work/app.out" "$data/korvana.log" >&2 || true
  exit 1
fi
echo "logged in to the installed core (process $core) on port $port"
for folder in Downloads Incomplete TempPlay; do
  test -d "$data/$folder"
done
[ ! -e /usr/bin/Downloads ] || { echo "The program wrote into /usr/bin." >&2; exit 1; }

identity=$(dbus-send --session --print-reply=literal --dest=org.mpris.MediaPlayer2.korvana \
  /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
  string:org.mpris.MediaPlayer2 string:Identity)
echo "media controls: $identity"
grep -q "Korvana MP3 Finder" <<<"$identity"

second=$(korvana)
echo "second copy: $second"
grep -q "already running; its window was brought to the front" <<<"$second"

kill -TERM "$app"
for _ in $(seq 150); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
  echo "The installed program did not close on SIGTERM." >&2
  exit 1
fi
wait "$app" || { echo "The installed program ended with an error." >&2; exit 1; }
app=""

"${as_root[@]}" apt-get remove -y -qq korvana >/dev/null
! dpkg-query -W -f='${Status}' korvana 2>/dev/null | grep -q 'install ok installed'
echo "package check took $(( $(date +%s) - start )) s"
