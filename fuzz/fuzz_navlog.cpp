// Any bytes as a stored nav log: reading must neither crash nor take a log
// it does not fully understand, and what it takes writes back to the same
// bytes when read and written again.
#include "navlog/TripLogFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const navlog::TripsRead read =
        navlog::readTrips(std::string(reinterpret_cast<const char*>(data), size));
    if (!read.trips) {
        if (read.error.isEmpty())
            std::abort();
        return 0;
    }
    const std::string written = navlog::tripsJson(*read.trips);
    const navlog::TripsRead again = navlog::readTrips(written);
    if (!again.trips || navlog::tripsJson(*again.trips) != written)
        std::abort();
    return 0;
}
