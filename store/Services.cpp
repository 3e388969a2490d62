#include "store/Services.h"

#include "store/Globals.h"

namespace store {

Services::Services(const core::DataPlaces& places)
    : m_places(places), m_navData(navdb::NavData::of(m_places)),
      m_model(magvar::findModelDir(m_places)), m_airports(airportDatabase()), m_tripLog(m_places) {
    m_tripLog.load();
}

} // namespace store
