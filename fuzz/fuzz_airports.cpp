// Any bytes as an airport file: the scan must neither crash nor loop, and
// every identifier it lists must be in the index.
#include "store/Airports.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text =
        store::airportTextFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    AirportMap index;
    const auto ids = store::parseAirportText(text, index);
    for (const std::string& id : ids) {
        if (!index.count(id))
            std::abort();
    }
    std::string grown = text;
    store::appendAirportRecord(grown, index, "ZZ9", -33.5, 151.25);
    AirportMap reread;
    store::parseAirportText(grown, reread);
    return 0;
}
