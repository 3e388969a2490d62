#!/usr/bin/env bash
# Builds the Debian package: build/pkg/skyvane_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DSKYVANE_TESTS=OFF -DSKYVANE_BENCH=OFF >/dev/null
cmake --build build/pkg -j"$(nproc)"
(cd build/pkg && cpack -G DEB >/dev/null)
ls build/pkg/skyvane_*.deb
