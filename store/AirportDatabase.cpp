#include "store/AirportDatabase.h"

#include "core/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <limits>
#include <unordered_set>

namespace store {

AirportDatabase::AirportDatabase(core::DataPlaces places) : m_places(std::move(places)) {}

QString AirportDatabase::filePath() const {
    return QFile::decodeName(
        QByteArray::fromStdString(m_places.userFile(QLatin1String(kAirportFileName))));
}

std::optional<std::string> AirportDatabase::installedCopy() const {
    return m_places.installedFile(QLatin1String(kAirportFileName));
}

AirportLoad AirportDatabase::load() {
    m_text.clear();
    m_index.clear();
    constexpr auto kWhole = std::numeric_limits<std::size_t>::max();
    auto bytes = core::readFileBytes(QFile::encodeName(filePath()).toStdString(), kWhole);
    // A user without a file of their own reads the one installed with the
    // program, until their first Add writes theirs.
    if (!bytes && !QFile::exists(filePath())) {
        if (const auto installed = installedCopy())
            bytes = core::readFileBytes(*installed, kWhole);
    }
    if (!bytes)
        return AirportLoad::CannotOpen;
    m_text = airportTextFromBytes(*bytes);
    return AirportLoad::Loaded;
}

std::vector<std::string> AirportDatabase::listIdentifiers() {
    return parseAirportText(m_text, m_index);
}

core::WriteStatus AirportDatabase::appendLocked(
    const std::function<std::string(const std::string& onDisk)>& records) {
    const QString path = filePath();
    if (!core::makeParentFolder(QFile::encodeName(path).toStdString()))
        return core::WriteStatus::CannotCreate;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(m_lockTimeoutMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return core::WriteStatus::Busy;
        // No folder or a read-only one: nothing can be created there. Else the
        // lock file itself met a full or failing disk.
        const QFileInfo folder(QFileInfo(path).absolutePath());
        return folder.isDir() && folder.isWritable() ? core::WriteStatus::WriteFailed
                                                     : core::WriteStatus::CannotCreate;
    }
    // Whatever is on disk now stays, byte for byte: records added by another
    // copy, hand edits, even bytes after a NUL that loading skips.
    std::string bytes;
    if (QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return core::WriteStatus::CannotCreate;
        const QByteArray all = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return core::WriteStatus::CannotCreate;
        bytes = all.toStdString();
    } else if (const auto installed = installedCopy()) {
        // The user's first own file: the installed records, then theirs.
        const auto installedBytes =
            core::readFileBytes(*installed, std::numeric_limits<std::size_t>::max());
        if (!installedBytes)
            return core::WriteStatus::CannotCreate;
        bytes = *installedBytes;
    }
    const std::string added = records(bytes);
    if (added.empty())
        return core::WriteStatus::Written; // nothing new: the file stays as it is
    return core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes + added);
}

core::WriteStatus AirportDatabase::append(const std::string& id, double latitudeDeg,
                                          double longitudeDeg) {
    const auto status = appendLocked(
        [&](const std::string&) { return airportRecord(id, latitudeDeg, longitudeDeg); });
    if (status == core::WriteStatus::Written)
        appendAirportRecord(m_text, m_index, id, latitudeDeg, longitudeDeg);
    return status;
}

AirportDatabase::BatchResult AirportDatabase::appendNew(const std::vector<NewAirport>& airports) {
    BatchResult result;
    std::string added;
    result.status = appendLocked([&](const std::string& onDisk) {
        // Identifiers count as the same the way the lists show them: case aside.
        std::unordered_set<QString> known;
        AirportMap index;
        for (const std::string& id : parseAirportText(airportTextFromBytes(onDisk), index))
            known.insert(core::caseKey(core::fromLatin1(id)));
        std::string records;
        for (const NewAirport& a : airports) {
            const QString key = core::caseKey(core::fromLatin1(a.id));
            if (!known.insert(key).second) {
                ++result.duplicates;
                continue;
            }
            records += airportRecord(a.id, a.position.latitudeDeg, a.position.longitudeDeg);
            ++result.added;
        }
        added = records;
        return records;
    });
    if (result.status == core::WriteStatus::Written)
        m_text += added;
    else
        result.added = 0;
    return result;
}

} // namespace store
