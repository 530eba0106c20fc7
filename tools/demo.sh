#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on its offline
# simulated world: the simulated core is placed as the core in build/bin/mldonkey.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
exec build/bin/korvana "$@"
