#pragma once
// Magnetic variation from the World Magnetic Model 2025 (GeographicLib's
// MagneticModel over the coefficients in res/magnetic), as this program uses
// it: Var is added to the true heading (MH = TH + Var), so a westerly
// variation is positive and Var = -declination.
//
// The model holds from 2025.0 to 2030.0 and is unreliable close to the
// geomagnetic poles; there it gives no number, only the reason.

#include "core/DataPlaces.h"
#include "core/GeoPoint.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace GeographicLib {
class MagneticModel;
}

namespace magvar {

using core::GeoPoint;

enum class VarStatus {
    Computed,     // varDeg holds the variation
    OutsideDates, // the date lies outside the model's years
    NearPole,     // within 1 degree of a geomagnetic pole
    NoModel,      // the model's files were not found or not readable
};

struct Variation {
    VarStatus status = VarStatus::NoModel;
    double declinationDeg = 0; // the model's, positive east
    int varDeg = 0;            // -declination to the nearest whole degree (halves away from 0)
};

// The date as a decimal year (2025-07-02 is about 2025.5).
double decimalYear(const QDate& date) noexcept;

// The north geomagnetic pole of the model's dipole at that decimal year (the
// south one is its antipode).
GeoPoint northGeomagneticPole(double year) noexcept;

// "13° W", "1° E", "0°": a variation as pilots read it.
QString varText(int varDeg);

class MagneticVariation {
public:
    // modelDir: the folder holding wmm2025.wmm and wmm2025.wmm.cof. Without
    // them every answer is NoModel.
    explicit MagneticVariation(const std::string& modelDir);
    ~MagneticVariation();
    MagneticVariation(const MagneticVariation&) = delete;
    MagneticVariation& operator=(const MagneticVariation&) = delete;

    bool hasModel() const { return static_cast<bool>(m_model); }

    // The variation at height 0 at the point in that decimal year.
    Variation at(const GeoPoint& point, double year) const;

private:
    std::unique_ptr<GeographicLib::MagneticModel> m_model;
};

// The folder of the installed model: the first "magnetic" folder among the
// installed places that holds it. Empty when none is found.
std::string findModelDir(const core::DataPlaces& places);

} // namespace magvar
