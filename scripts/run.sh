#!/usr/bin/env bash
# Builds Skyvane, installs it into build/stage and starts it from there, as
# an installed program: the starter airports come from the staged share/skyvane
# until the pilot's first Add writes their own file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSKYVANE_BENCH=OFF -DSKYVANE_TESTS=OFF \
      >/dev/null
# The program and the starter navigation database it installs beside it.
cmake --build build/release -j"$(nproc)" --target skyvane navdata
cmake --install build/release --prefix "$PWD/build/stage" >/dev/null

export XDG_DATA_DIRS="$PWD/build/stage/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
exec ./build/stage/bin/skyvane "$@"
