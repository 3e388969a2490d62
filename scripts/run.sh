#!/usr/bin/env bash
# Builds Skyvane, sets up its data directory as an installer would (the folder,
# and a starter airport database when there is none) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSKYVANE_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target skyvane

data_home="${XDG_DATA_HOME:-}"
case "$data_home" in /*) ;; *) data_home="$HOME/.local/share" ;; esac
data_dir="$data_home/skyvane"
mkdir -p "$data_dir"
if [ ! -e "$data_dir/airports.fly" ]; then
    cp res/data/airports.fly "$data_dir/airports.fly"
    echo "run: starter airport database installed in $data_dir"
fi

exec ./build/release/skyvane
