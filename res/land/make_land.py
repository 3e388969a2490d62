#!/usr/bin/env python3
"""Writes land-50m.txt, next to this script: the land outlines of Natural
Earth at 1:50m (public domain, naturalearthdata.com) for the route picture,
one ring a line.

The outlines come from the npm package world-atlas, version 2.0.2, which
carries Natural Earth's land at 1:50m as TopoJSON in land-50m.json. Get it
and run this script on it:

    npm pack world-atlas@2.0.2
    tar xzf world-atlas-2.0.2.tgz
    python3 make_land.py package/land-50m.json

Each line is one ring of a land polygon: longitude and latitude pairs in
hundredths of a degree, as integers separated by spaces ("lon lat lon lat
..."); the ring closes on its first point. Holes (lakes) are left out: the
picture shows land and sea.
"""
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGE = "world-atlas"
VERSION = "2.0.2"


def decode_arcs(topology):
    sx, sy = topology["transform"]["scale"]
    tx, ty = topology["transform"]["translate"]
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * sx + tx, y * sy + ty))
        arcs.append(points)
    return arcs


def ring(arcs, indices):
    points = []
    for index in indices:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    return points


def main(source):
    with open(source, encoding="utf-8") as f:
        topology = json.load(f)
    arcs = decode_arcs(topology)
    rings = []
    for geometry in topology["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"] if geometry["type"] == "MultiPolygon" else [geometry["arcs"]]
        for polygon in polygons:
            rings.append(ring(arcs, polygon[0]))  # the outer ring only
    out = os.path.join(HERE, "land-50m.txt")
    with open(out, "w", encoding="ascii") as f:
        for points in rings:
            cells = []
            last = None
            for lon, lat in points:
                p = (round(lon * 100), round(lat * 100))
                if p != last:
                    cells.append("%d %d" % p)
                    last = p
            if len(cells) >= 3:
                f.write(" ".join(cells) + "\n")
    print(f"{out}: {len(rings)} rings from {PACKAGE} {VERSION}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
