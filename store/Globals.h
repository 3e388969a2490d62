#pragma once
// Program-wide state of the data files. These live for the whole run.

#include "store/Airports.h"

#include <string>

// The data directory as the device names it, with its trailing backslash.
extern std::string g_strDataDir;
// The airport file as read at start plus the records added since (8-bit text,
// one byte per character) and its index: names for the members of
// store::airportDatabase(), which owns them.
extern std::string& g_strAirportText;
extern AirportMap& g_mapAirports;
