#include "core/Files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <unistd.h>

namespace core {
namespace {

QString dataHome() {
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    // Relative values are to be ignored, as the XDG base directory rules say.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(xdg)))
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// The application folder and the rest of a device path under
// "\Program Files\", or none for other paths.
std::optional<std::pair<QString, QString>> splitDevicePath(const std::string& devicePath) {
    QString path = QString::fromLatin1(devicePath.data(), static_cast<int>(devicePath.size()));
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString programFiles = QStringLiteral("/Program Files/");
    if (!path.startsWith(programFiles, Qt::CaseInsensitive))
        return std::nullopt;
    QString rest = path.mid(programFiles.size());
    const int slash = rest.indexOf(QLatin1Char('/'));
    const QString app = (slash < 0 ? rest : rest.left(slash)).toLower();
    rest = slash < 0 ? QString() : rest.mid(slash);
    return std::make_pair(app, rest);
}

} // namespace

std::optional<std::string> findInstalledCopy(const std::string& devicePath) {
    const auto parts = splitDevicePath(devicePath);
    if (!parts)
        return std::nullopt;
    QString dirs = QString::fromLocal8Bit(qgetenv("XDG_DATA_DIRS"));
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!QDir::isAbsolutePath(dir))
            continue; // relative entries are to be ignored
        const QString candidate = dir + QLatin1Char('/') + parts->first + parts->second;
        if (QFileInfo(candidate).isFile())
            return QFile::encodeName(candidate).toStdString();
    }
    return std::nullopt;
}

bool makeParentFolder(const std::string& path) {
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    return QDir().mkpath(file.absolutePath());
}

std::string resolveDevicePath(const std::string& devicePath) {
    if (const auto parts = splitDevicePath(devicePath))
        return QFile::encodeName(dataHome() + QLatin1Char('/') + parts->first + parts->second)
            .toStdString();
    QString path = QString::fromLatin1(devicePath.data(), static_cast<int>(devicePath.size()));
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFile::encodeName(path).toStdString();
}

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
