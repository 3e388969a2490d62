#include "core/Files.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace core {
std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    while (bytes.size() < maxBytes) {
        const qint64 want =
            static_cast<qint64>(std::min<std::size_t>(sizeof chunk, maxBytes - bytes.size()));
        const qint64 got = file.read(chunk, want);
        if (got <= 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

WriteStatus writeFileSafely(const std::string& path, const std::string& bytes) {
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly))
        return WriteStatus::CannotCreate;
    const qint64 size = static_cast<qint64>(bytes.size());
    // A small write only fills the device's buffer: a full disk shows only
    // when that buffer goes out, and a failing one maybe only at fsync. Both
    // are checked here, before the rename, because QSaveFile::commit()
    // ignores a failed sync and renames the temporary file all the same.
    if (file.write(bytes.data(), size) != size || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting(); // the temporary file goes with `file`
        return WriteStatus::WriteFailed;
    }
    return file.commit() ? WriteStatus::Written : WriteStatus::WriteFailed;
}

std::optional<std::string> putAside(const std::string& path, const std::string& suffix,
                                    const std::vector<std::string>& companions) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    auto taken = [&](const QString& name) {
        if (QFileInfo::exists(name))
            return true;
        for (const std::string& c : companions) {
            if (QFileInfo::exists(name + QString::fromStdString(c)))
                return true;
        }
        return false;
    };
    // The number is bounded so a folder full of old copies cannot keep this
    // turning; past it the file stays where it is and the caller says so.
    for (int n = 1; n <= 1000; ++n) {
        QString aside = file + QString::fromStdString(suffix);
        if (n > 1)
            aside += QStringLiteral(".%1").arg(n);
        if (taken(aside))
            continue;
        // The companions first, so that no journal is ever left beside a
        // file it does not belong to; undone if the file itself cannot go.
        // QFile::rename never replaces an existing file.
        std::vector<QString> moved;
        bool ok = true;
        for (const std::string& c : companions) {
            const QString extra = QString::fromStdString(c);
            if (!QFileInfo::exists(file + extra))
                continue;
            if (!QFile::rename(file + extra, aside + extra)) {
                ok = false;
                break;
            }
            moved.push_back(extra);
        }
        if (!ok || !QFile::rename(file, aside)) {
            for (const QString& extra : moved)
                QFile::rename(aside + extra, file + extra);
            return std::nullopt;
        }
        return QFile::encodeName(aside).toStdString();
    }
    return std::nullopt;
}

std::string writeFailureText(WriteStatus status, const std::string& fileWord) {
    switch (status) {
    case WriteStatus::Written:
        return {};
    case WriteStatus::CannotCreate:
        return "Cannot open " + fileWord + " file!";
    case WriteStatus::WriteFailed:
        return "Cannot write " + fileWord + " file!";
    case WriteStatus::Busy:
        return "The " + fileWord + " file is in use by another program, try again!";
    }
    return {};
}

} // namespace core
