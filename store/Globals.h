#pragma once
// Program-wide state of the data files. These live for the whole run.

#include "core/DataPlaces.h"
#include "store/Airports.h"

#include <string>

namespace store {

// The data places of this run. Start-up sets them once from the environment
// (useDataPlaces); until then they are what the environment names.
const core::DataPlaces& dataPlaces();

// Points the run at these places: what reads or writes a data file from now
// on uses them, and the airport database starts over, empty, on them.
void useDataPlaces(core::DataPlaces places);

} // namespace store

// The airport file as read at start plus the records added since (8-bit text,
// one byte per character) and its index: names for the members of
// store::airportDatabase(), which owns them.
extern std::string& g_strAirportText;
extern AirportMap& g_mapAirports;
