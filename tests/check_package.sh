#!/usr/bin/env bash
# Inspects the Debian package that scripts/package.sh built: name, version,
# section, computed library dependencies and the files it carries.
#   check_package.sh path/to/skyvane_1.3.0.1_ARCH.deb
set -euo pipefail
deb=$1
fail=0
field() { dpkg-deb -f "$deb" "$1"; }
expect() { [ "$(field "$1")" = "$2" ] || { echo "$1 is '$(field "$1")', want '$2'"; fail=1; }; }
expect Package skyvane
expect Version 1.3.0.1
expect Section science
expect Architecture "$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "skyvane_1.3.0.1_$(dpkg --print-architecture).deb" ] ||
    { echo "file name $(basename "$deb")"; fail=1; }
depends=$(field Depends)
# Library packages by name, their soname numbers as Debian has them.
for lib in 'libc6' 'libstdc\+\+6' 'libqt6core6' 'libqt6gui6' 'libqt6widgets6' \
           'libqt6printsupport6' 'libgeographiclib[0-9]+' 'libcsv[0-9]+'; do
    grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || { echo "Depends lacks $lib: $depends"; fail=1; }
done
# Abacus needs a calculator: the package recommends every one it can start.
recommends=$(field Recommends)
for calc in gnome-calculator kcalc galculator qalculate-gtk mate-calc x11-apps; do
    grep -Eq "(^|[,|] ?)$calc( |,|$)" <<<"$recommends" ||
        { echo "Recommends lacks $calc: $recommends"; fail=1; }
done
# Read whole first: grep -q stops at its match, and under pipefail the
# writer's broken pipe would count as a failure.
description=$(field Description)
grep -q 'flight-leg planning calculator' <<<"$description" || { echo "Description"; fail=1; }
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/skyvane ./usr/share/applications/org.skyvane.Skyvane.desktop \
         ./usr/share/metainfo/org.skyvane.Skyvane.metainfo.xml \
         ./usr/share/icons/hicolor/256x256/apps/org.skyvane.Skyvane.png \
         ./usr/share/icons/hicolor/16x16/apps/org.skyvane.Skyvane.png \
         ./usr/share/skyvane/airports.fly ./usr/share/skyvane/config.fly \
         ./usr/share/skyvane/navdata.sqlite ./usr/share/mime/packages/org.skyvane.Skyvane.xml \
         ./usr/share/skyvane/land-50m.txt \
         ./usr/share/skyvane/magnetic/wmm2025.wmm \
         ./usr/share/skyvane/magnetic/wmm2025.wmm.cof; do
    grep -qx "$f" <<<"$files" || { echo "missing from the package: $f"; fail=1; }
done
if grep -q '^\./usr/local\|tst_\|bench_' <<<"$files"; then
    echo "unexpected files in the package"; fail=1
fi
if [ "$fail" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "package $(basename "$deb"): fields, dependencies and files as expected"
