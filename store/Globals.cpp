#include "store/Globals.h"

// Defined together so that they are constructed in this order and destroyed
// in the reverse one.
std::string g_strAirportText;
std::string g_strDataDir = "\\Program Files\\Skyvane\\";
AirportMap g_mapAirports;
