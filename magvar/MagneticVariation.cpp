#include "magvar/MagneticVariation.h"

#include "core/Math.h"
#include "course/GreatCircle.h"

#include <GeographicLib/MagneticModel.hpp>

#include <QFileInfo>

#include <cmath>

namespace magvar {
namespace {

constexpr double kEpoch = 2025.0;
constexpr double kPoleRadiusDeg = 1.0;
// Geodesy wants full precision, not the leg's fifteen digits of pi.
constexpr double kDeg = core::kDeg2RadFull;

// The model's dipole terms at its epoch and their yearly change (nT, nT/yr):
// they place the geomagnetic poles.
constexpr double kG10 = -29351.8, kG11 = -1410.8, kH11 = 4545.4;
constexpr double kDg10 = 12.0, kDg11 = 9.7, kDh11 = -21.5;

} // namespace

double decimalYear(const QDate& date) noexcept {
    return date.year() + (date.dayOfYear() - 1.0) / date.daysInYear();
}

GeoPoint northGeomagneticPole(double year) noexcept {
    const double t = year - kEpoch;
    const double g10 = kG10 + kDg10 * t, g11 = kG11 + kDg11 * t, h11 = kH11 + kDh11 * t;
    const double b0 = std::sqrt(g10 * g10 + g11 * g11 + h11 * h11);
    return {90 - std::acos(-g10 / b0) / kDeg, std::atan2(-h11, -g11) / kDeg};
}

QString varText(int varDeg) {
    if (varDeg == 0)
        return QStringLiteral("0°");
    return QStringLiteral("%1° %2")
        .arg(std::abs(varDeg))
        .arg(varDeg > 0 ? QLatin1Char('W') : QLatin1Char('E'));
}

MagneticVariation::MagneticVariation(const std::string& modelDir) {
    if (modelDir.empty())
        return;
    try {
        m_model = std::make_unique<GeographicLib::MagneticModel>("wmm2025", modelDir);
    } catch (const std::exception&) {
        m_model.reset(); // missing or damaged files: no numbers, said so
    }
}

MagneticVariation::~MagneticVariation() = default;

Variation MagneticVariation::at(const GeoPoint& point, double year) const {
    Variation v;
    if (!m_model)
        return v;
    if (!(year >= m_model->MinTime() && year < m_model->MaxTime())) {
        v.status = VarStatus::OutsideDates;
        return v;
    }
    const GeoPoint north = northGeomagneticPole(year);
    const GeoPoint south{-north.latitudeDeg, north.longitudeDeg + 180};
    if (course::arcDeg(point, north) <= kPoleRadiusDeg ||
        course::arcDeg(point, south) <= kPoleRadiusDeg) {
        v.status = VarStatus::NearPole;
        return v;
    }
    double bx = 0, by = 0, bz = 0, h = 0, f = 0, d = 0, i = 0;
    (*m_model)(year, point.latitudeDeg, point.longitudeDeg, 0, bx, by, bz);
    GeographicLib::MagneticModel::FieldComponents(bx, by, bz, h, f, d, i);
    v.status = VarStatus::Computed;
    v.declinationDeg = d;
    v.varDeg = static_cast<int>(std::lround(-d));
    return v;
}

std::string findModelDir(const core::DataPlaces& places) {
    const auto model = places.installedFile(QStringLiteral("magnetic/wmm2025.wmm"));
    if (!model)
        return {};
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(*model)))
        .absolutePath()
        .toStdString();
}

} // namespace magvar
