#pragma once
// The airport database of a run: the text of "airports.fly", its index, and
// the one way records reach the disk. The file may be shared: a second running
// copy or a hand edit can change it while this one runs, so an added record is
// appended to the file as it is on disk at that moment, under a lock file,
// never written out from the text read at start.

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "store/Airports.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace store {

enum class AirportLoad { Loaded, CannotOpen };

class AirportDatabase {
public:
    // places: the user's folder and the installed copies (core/DataPlaces.h).
    explicit AirportDatabase(core::DataPlaces places);

    // Reads the file into the text and empties the index. Without a file of
    // the user's, the copy installed with the program is read instead.
    // CannotOpen (neither can be read) leaves both empty.
    AirportLoad load();

    // Scans the text, entering every record into the index (the first record
    // of an identifier wins), and returns the identifiers in text order.
    std::vector<std::string> listIdentifiers();

    // The position of an identifier as a list shows it (see findAirport).
    const core::GeoPoint* find(const QString& id) const { return findAirport(m_index, id); }

    // Adds the record "ID:lat;lon," to the end of the file as it is on disk
    // now, holding "airports.fly.lock" meanwhile, and replaces the file safely.
    // A user without a file gets one: the installed records plus the new one
    // (the installed copy itself is never written). The user's data folder
    // is created when it is missing.
    // Only once the record is on disk does it join the text and the index.
    // Busy: another program held the lock for the whole lock timeout.
    core::WriteStatus append(const std::string& id, double latitudeDeg, double longitudeDeg);

    // Adds the airports whose identifiers the file on disk does not hold yet
    // (compared ignoring case, as the lists show them; a repeat within the
    // batch counts as held), in one locked, safe write of the file.
    struct NewAirport {
        std::string id;
        core::GeoPoint position;
    };
    struct BatchResult {
        core::WriteStatus status = core::WriteStatus::Written;
        int added = 0;      // 0 unless written
        int duplicates = 0; // already in the file or earlier in the batch
    };
    BatchResult appendNew(const std::vector<NewAirport>& airports);

    // How long append waits for another program's lock.
    void setLockTimeout(int milliseconds) { m_lockTimeoutMs = milliseconds; }

    // The program-wide names g_strAirportText and g_mapAirports refer to these.
    std::string& text() { return m_text; }
    AirportMap& index() { return m_index; }

private:
    QString filePath() const;
    // Under the lock: the file as on disk now (or the installed records) goes
    // to `records`, whose result is appended, the whole written safely.
    core::WriteStatus
    appendLocked(const std::function<std::string(const std::string& onDisk)>& records);
    std::optional<std::string> installedCopy() const;

    core::DataPlaces m_places;
    std::string m_text;
    AirportMap m_index;
    int m_lockTimeoutMs = 3000;
};

// The database of this run, on the run's data places (store/Globals.h).
AirportDatabase& airportDatabase();

} // namespace store
