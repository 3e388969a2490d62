#include "store/AirportDatabase.h"

#include "store/Globals.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <limits>

namespace store {

AirportDatabase::AirportDatabase(std::string dataDir) : m_dataDir(std::move(dataDir)) {}

QString AirportDatabase::filePath() const {
    return QFile::decodeName(
        QByteArray::fromStdString(platform::resolveDevicePath(m_dataDir + kAirportFileName)));
}

AirportLoad AirportDatabase::load() {
    m_text.clear();
    m_index.clear();
    const auto bytes = platform::readFileBytes(QFile::encodeName(filePath()).toStdString(),
                                               std::numeric_limits<std::size_t>::max());
    if (!bytes)
        return AirportLoad::CannotOpen;
    m_text = airportTextFromBytes(*bytes);
    return AirportLoad::Loaded;
}

std::vector<std::string> AirportDatabase::listIdentifiers() {
    return ParseAirportText(m_text, m_index);
}

platform::WriteStatus AirportDatabase::append(const std::string& id, double latitudeDeg,
                                              double longitudeDeg) {
    const QString path = filePath();
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(m_lockTimeoutMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return platform::WriteStatus::Busy;
        // No folder or a read-only one: nothing can be created there. Else the
        // lock file itself met a full or failing disk.
        const QFileInfo folder(QFileInfo(path).absolutePath());
        return folder.isDir() && folder.isWritable() ? platform::WriteStatus::WriteFailed
                                                     : platform::WriteStatus::CannotCreate;
    }
    // Whatever is on disk now stays, byte for byte: records added by another
    // copy, hand edits, even bytes after a NUL that loading skips.
    std::string bytes;
    if (QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return platform::WriteStatus::CannotCreate;
        const QByteArray all = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return platform::WriteStatus::CannotCreate;
        bytes = all.toStdString();
    }
    bytes += airportRecord(id, latitudeDeg, longitudeDeg);
    const auto status = platform::writeFileSafely(QFile::encodeName(path).toStdString(), bytes);
    if (status == platform::WriteStatus::Written)
        AppendAirportRecord(m_text, m_index, id, latitudeDeg, longitudeDeg);
    return status;
}

AirportDatabase& airportDatabase() {
    static AirportDatabase database(g_strDataDir);
    return database;
}

} // namespace store
