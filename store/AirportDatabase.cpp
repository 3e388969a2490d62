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
        QByteArray::fromStdString(core::resolveDevicePath(m_dataDir + kAirportFileName)));
}

std::optional<std::string> AirportDatabase::installedCopy() const {
    return core::findInstalledCopy(m_dataDir + kAirportFileName);
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

core::WriteStatus AirportDatabase::append(const std::string& id, double latitudeDeg,
                                              double longitudeDeg) {
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
    bytes += airportRecord(id, latitudeDeg, longitudeDeg);
    const auto status = core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes);
    if (status == core::WriteStatus::Written)
        appendAirportRecord(m_text, m_index, id, latitudeDeg, longitudeDeg);
    return status;
}

AirportDatabase& airportDatabase() {
    static AirportDatabase database(g_strDataDir);
    return database;
}

} // namespace store
