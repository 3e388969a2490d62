#!/usr/bin/env bash
# Installs what building, running and testing Skyvane needs on Debian 12.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libbenchmark-dev
          clang libclang-rt-14-dev clang-format locales xvfb xauth qt6-qpa-plugins
          desktop-file-utils appstream dpkg-dev file poppler-utils fonts-dejavu-core
          libgeographiclib-dev libcsv-dev libsqlite3-dev sqlite3 pkgconf valgrind)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
    sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The file tests also run under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
    "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    "${sudo_cmd[@]}" locale-gen >/dev/null
fi
