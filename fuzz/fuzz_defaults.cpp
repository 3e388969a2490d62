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
    // Save refuses what would not load back; everything else must, and its
    // second save must write the same bytes.
    if (!store::loadsBack(*parsed))
        return 0;
    const std::string saved = store::formatDefaults(*parsed);
    const auto again = store::parseDefaults(saved);
    if (!again || again->homeAirport != parsed->homeAirport ||
        store::formatDefaults(*again) != saved)
        std::abort();
    return 0;
}
