#!/usr/bin/env bash
# Builds MLDonkey's core, mlnet, from its source and keeps it in a build tree.
#   tools/build-core.sh [SOURCE]
# SOURCE is a source tarball (.tar.gz, .tgz, .tar.bz2) or an unpacked source
# folder; without it, $KORVANA_CORE_SOURCE, else the first of
# shared/mldonkey-3.2.1-src.tar.gz beside the checkout or one folder higher.
# The core is built once into $KORVANA_CORE_DIR (default build/mldonkey-core)
# and built again only when the source changes. The last line printed is the
# path of the built mlnet.
# With KORVANA_PLACE_CORE=DIR the CMake build tree DIR is also configured to
# place this core in its program's core folder (-DKORVANA_REAL_CORE=...).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
source="${1:-${KORVANA_CORE_SOURCE:-}}"
if [ -z "$source" ]; then
  for candidate in "$repo/../shared" "$repo/../../shared"; do
    source="$candidate/mldonkey-3.2.1-src.tar.gz"
    [ -e "$source" ] && break
  done
fi
out="${KORVANA_CORE_DIR:-$repo/build/mldonkey-core}"

if [ ! -e "$source" ]; then
  echo "build-core: no MLDonkey source at $source" >&2
  exit 2
fi
source="$(cd "$(dirname "$source")" && pwd)/$(basename "$source")"
KORVANA_CORE_STAGE=1 "$repo/tools/install-deps.sh"

# What the cached core was built from: the tarball's checksum, or for a
# folder the newest change time of its files.
if [ -d "$source" ]; then
  stamp="dir $source $(find "$source" -type f -printf '%T@\n' | sort -n | tail -1)"
else
  stamp="tar $(sha256sum "$source" | cut -d' ' -f1)"
fi
if [ -x "$out/mlnet" ] && [ "$(cat "$out/stamp" 2>/dev/null)" = "$stamp" ]; then
  echo "build-core: $out/mlnet is up to date" >&2
else
  work="$out/src"
  rm -rf "$work" "$out/mlnet" "$out/stamp"
  mkdir -p "$work"
  if [ -d "$source" ]; then
    cp -a "$source/." "$work/"
  else
    tar xf "$source" -C "$work" --strip-components=1
  fi
  log="$out/build.log"
  echo "build-core: building mlnet in $work (log: $log)" >&2
  started=$(date +%s)
  (
    cd "$work"
    ./configure --disable-gui --disable-gd --disable-magic >"$log" 2>&1
    jobs="$(nproc 2>/dev/null || echo 2)"
    # The parallel build can race on its generated options module once
    # ("Unbound module CommonOptions"); a second run finishes it.
    if ! make -j"$jobs" mlnet >>"$log" 2>&1; then
      if grep -q 'Unbound module CommonOptions' "$log"; then
        echo "build-core: parallel build raced, building again" >&2
        make mlnet >>"$log" 2>&1
      else
        tail -30 "$log" >&2
        exit 1
      fi
    fi
  ) || { echo "build-core: the build failed, see $log" >&2; exit 1; }
  cp "$work/mlnet" "$out/mlnet"
  echo "$stamp" >"$out/stamp"
  echo "build-core: built in $(( $(date +%s) - started )) s" >&2
fi

if [ -n "${KORVANA_PLACE_CORE:-}" ]; then
  cmake -S "$repo" -B "$KORVANA_PLACE_CORE" -DKORVANA_REAL_CORE="$out/mlnet" >/dev/null
  echo "build-core: $KORVANA_PLACE_CORE now places this core in its core folder" >&2
fi
echo "$out/mlnet"
