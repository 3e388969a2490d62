#pragma once
// What the windows use of the program's data, owned once by the application
// and handed to each window through its constructor: the data places, the
// navigation data, the magnetic model, the airport file, the preferences and
// the trip log. No widgets. Nothing here is fetched from a program-wide
// function by a window; a test builds its own on a scratch folder.

#include "core/DataPlaces.h"
#include "core/Preferences.h"
#include "magvar/MagneticVariation.h"
#include "navdb/NavDatabase.h"
#include "navlog/TripLog.h"
#include "store/AirportDatabase.h"

namespace store {

class Services {
public:
    // Everything on these places. The trip log is read here; what was wrong
    // with it is its problem(), for the first window to say.
    explicit Services(const core::DataPlaces& places);
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    const core::DataPlaces& places() const { return m_places; }
    const navdb::NavData& navData() const { return m_navData; }
    const magvar::MagneticVariation& magneticModel() const { return m_model; }
    // The airport file: one for the run, since the older dialogs share it.
    AirportDatabase& airports() const { return m_airports; }
    core::Preferences& preferences() { return m_preferences; }
    navlog::TripLog& tripLog() { return m_tripLog; }

private:
    core::DataPlaces m_places;
    navdb::NavData m_navData;
    magvar::MagneticVariation m_model;
    AirportDatabase& m_airports;
    core::Preferences m_preferences;
    navlog::TripLog m_tripLog;
};

} // namespace store
