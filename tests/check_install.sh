#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks the result as a
# desktop would: files in place, the desktop entry and the AppStream metainfo
# accepted by their validators.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
need() { [ -e "$prefix/$1" ] || { echo "missing: $1"; fail=1; }; }
id=org.skyvane.Skyvane
need bin/skyvane
need share/applications/$id.desktop
need share/metainfo/$id.metainfo.xml
need share/skyvane/airports.fly
need share/skyvane/config.fly
need share/skyvane/navdata.sqlite
need share/skyvane/magnetic/wmm2025.wmm
need share/skyvane/magnetic/wmm2025.wmm.cof
need share/doc/skyvane/copyright
need share/doc/skyvane/LICENSE
grep -q '^License: ODbL-1.0$' "$prefix/share/doc/skyvane/copyright" ||
    { echo "the starter database's licence is not named"; fail=1; }
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$prefix/share/metainfo/$id.metainfo.xml" || { echo "the metainfo's licence"; fail=1; }
for size in 16 22 24 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/$id.png
    need "$icon"
    if [ -e "$prefix/$icon" ]; then
        # PNG width and height, big-endian at bytes 16 and 20.
        dims=$(od -An -tu1 -j16 -N8 "$prefix/$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
        [ "$dims" = "${size}x${size}" ] || { echo "$icon is $dims"; fail=1; }
    fi
done
[ -x "$prefix/bin/skyvane" ] || { echo "bin/skyvane is not executable"; fail=1; }
grep -q '^Exec=skyvane %f$' "$prefix/share/applications/$id.desktop" || { echo "Exec line"; fail=1; }
grep -q '^MimeType=application/x-skyvane-plan;$' "$prefix/share/applications/$id.desktop" ||
    { echo "MimeType line"; fail=1; }
grep -q 'glob pattern="\*.skyplan"' "$prefix/share/mime/packages/$id.xml" ||
    { echo "the plan file's type is not installed"; fail=1; }
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop" || { echo "Icon line"; fail=1; }
grep -q '<release version="1.3.0.1"' "$prefix/share/metainfo/$id.metainfo.xml" ||
    { echo "release 1.3.0.1 missing from the metainfo"; fail=1; }
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail=1
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail=1
cmp -s "$prefix/share/skyvane/airports.fly" "$(dirname "$0")/../res/data/airports.fly" ||
    { echo "installed airports differ from res/data/airports.fly"; fail=1; }
cmp -s "$prefix/share/skyvane/config.fly" "$(dirname "$0")/../res/data/config.fly" ||
    { echo "installed defaults differ from res/data/config.fly"; fail=1; }
# The installed starter database answers by ICAO code, without a display.
found=$(XDG_DATA_HOME="$prefix/home" XDG_DATA_DIRS="$prefix/share" "$prefix/bin/skyvane" --find LSZH --limit 1)
[[ "$found" == airport$'\t'LSZH$'\t'* ]] || { echo "--find LSZH on the installed database: '$found'"; fail=1; }
if [ "$fail" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "install tree: all files in place, validators pass"
