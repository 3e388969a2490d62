// Any bytes as an OurAirports CSV: reading must neither crash nor accept a
// record the airport file cannot hold, and every accepted record must read
// back from the file as the same identifier and position.
#include "store/AirportImport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string csv(reinterpret_cast<const char*>(data), size);
    const auto read = store::readOurAirports(csv, store::ImportOptions{});
    if (!read.ok) {
        if (!read.airports.empty())
            std::abort();
        return 0;
    }
    for (const auto& a : read.airports) {
        if (a.id.size() != 3 || a.id.find_first_of(":;,") != std::string::npos ||
            a.id.find_first_of(" \t\r\n") != std::string::npos ||
            !(std::fabs(a.position.latitudeDeg) <= 90) ||
            !(std::fabs(a.position.longitudeDeg) <= 180))
            std::abort();
        AirportMap index;
        const auto ids = store::parseAirportText(
            store::airportRecord(a.id, a.position.latitudeDeg, a.position.longitudeDeg), index);
        if (ids.size() != 1 || ids[0] != a.id)
            std::abort();
    }
    return 0;
}
