// Any bytes as an aircraft profile: reading must neither crash nor accept a
// figure outside the program's limits or tables out of order, and what is
// read writes back to a file that reads the same.
#include "core/Limits.h"
#include "plan/AircraftProfile.h"
#include "plan/WeightBalance.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const plan::ProfileRead read =
        plan::readProfile(std::string(reinterpret_cast<const char*>(data), size));
    if (!read.profile) {
        if (read.error.isEmpty())
            std::abort();
        return 0;
    }
    namespace limits = core::limits;
    const plan::AircraftProfile& p = *read.profile;
    if (p.cruise.empty() || !limits::kUsableGal.contains(p.usableGal) ||
        !limits::kWeight.contains(p.emptyWeight) || !limits::kRateFpm.contains(p.descent.rateFpm))
        std::abort();
    for (std::size_t i = 1; i < p.cruise.size(); ++i) {
        if (!(p.cruise[i - 1].altitudeFt < p.cruise[i].altitudeFt))
            std::abort();
    }
    for (const plan::Envelope& e : p.envelopes) {
        if (e.points.size() < 3)
            std::abort();
    }
    // Whatever it holds, a loading gives figures, never NaN.
    const plan::WeightAndBalance wb = plan::weightAndBalance(
        p, std::vector<double>(p.stations.size(), 50), p.usableGal, p.taxiGal, 1);
    if (!std::isfinite(wb.landing.moment) || !std::isfinite(wb.landing.arm))
        std::abort();
    const std::string written = plan::profileJson(p);
    const plan::ProfileRead again = plan::readProfile(written);
    if (!again.profile || plan::profileJson(*again.profile) != written)
        std::abort();
    return 0;
}
