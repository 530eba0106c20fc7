#!/usr/bin/env bash
# Renders the program's icon (res/icons/app.svg) into the PNG sizes the
# desktop's icon theme asks for, kept in res/desktop/icons/. Run after
# changing the artwork; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" res/icons/app.svg -o "res/desktop/icons/korvana-$size.png"
done
