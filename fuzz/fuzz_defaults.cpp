// Any bytes as a defaults file: the parser must neither crash nor read out of
// bounds, and an accepted file must survive a save and load unchanged.
#include "store/Defaults.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = store::parseDefaults(bytes);
    if (!parsed)
        return 0;
    // A saved file loads back (codes with a colon or line end cannot, and Save
    // refuses what would not fit the part that loading reads).
    if (parsed->homeAirport.find_first_of(":\r\n") != std::string::npos ||
        !store::fitsDefaultsFile(*parsed))
        return 0;
    const auto again = store::parseDefaults(store::formatDefaults(*parsed));
    if (!again)
        std::abort();
    if (again->homeAirport != parsed->homeAirport.substr(0, parsed->homeAirport.find('\0')))
        std::abort();
    return 0;
}
