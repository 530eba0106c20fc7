#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: asks apt only for what is missing, and does nothing when all
# of it is there. KORVANA_CORE_STAGE=1 adds what building MLDonkey's core
# from source and running it in a loopback-only network namespace need.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format pkg-config
  qt6-base-dev qt6-svg-dev qt6-image-formats-plugins nlohmann-json3-dev libtag1-dev
  libcurl4-openssl-dev libmpg123-dev mpg123
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
  dbus-daemon dpkg-dev file desktop-file-utils appstream
)
if [ "${KORVANA_CORE_STAGE:-0}" = 1 ]; then
  packages+=(ocaml ocaml-findlib camlp4 libnum-ocaml-dev zlib1g-dev libbz2-dev m4 make iproute2)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
