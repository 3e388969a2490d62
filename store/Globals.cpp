#include "store/Globals.h"

#include "store/AirportDatabase.h"

namespace store {
namespace {

core::DataPlaces& places() {
    static core::DataPlaces current = core::DataPlaces::fromEnvironment();
    return current;
}

} // namespace

const core::DataPlaces& dataPlaces() {
    return places();
}

void useDataPlaces(core::DataPlaces newPlaces) {
    places() = std::move(newPlaces);
    airportDatabase() = AirportDatabase(places());
}

AirportDatabase& airportDatabase() {
    static AirportDatabase database(places());
    return database;
}

} // namespace store

std::string& g_strAirportText = store::airportDatabase().text();
AirportMap& g_mapAirports = store::airportDatabase().index();
