#include "store/Globals.h"

#include "store/AirportDatabase.h"

// Defined together so that the data directory exists before the airport
// database that is built on it.
std::string g_strDataDir = "\\Program Files\\Skyvane\\";
std::string& g_strAirportText = store::airportDatabase().text();
AirportMap& g_mapAirports = store::airportDatabase().index();
