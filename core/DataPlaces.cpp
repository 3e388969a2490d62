#include "core/DataPlaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace core {
namespace {

QString environmentPath(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The folder of the running program, known before any application object
// exists (the command line is handled before one is made).
QString programFolder() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

DataPlaces::DataPlaces(QString userFolder, QStringList installedFolders)
    : m_userFolder(std::move(userFolder)), m_installedFolders(std::move(installedFolders)) {}

DataPlaces DataPlaces::fromEnvironment(const QString& application) {
    QString home = environmentPath("XDG_DATA_HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        home = QDir::homePath() + QStringLiteral("/.local/share");

    QString dirs = environmentPath("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList installed;
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            installed << QDir::cleanPath(dir + QLatin1Char('/') + application);
    }
    // A copy run from its install tree without being on the search path
    // (a staged or relocated install) still finds its own files.
    if (const QString bin = programFolder(); !bin.isEmpty())
        installed << QDir::cleanPath(bin + QStringLiteral("/../share/") + application);
    return DataPlaces(QDir::cleanPath(home + QLatin1Char('/') + application), installed);
}

std::string DataPlaces::userFile(const QString& name) const {
    return QFile::encodeName(m_userFolder + QLatin1Char('/') + name).toStdString();
}

std::optional<std::string> DataPlaces::installedFile(const QString& name) const {
    for (const QString& folder : m_installedFolders) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (QFileInfo(candidate).isFile())
            return QFile::encodeName(candidate).toStdString();
    }
    return std::nullopt;
}

bool makeParentFolder(const std::string& path) {
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    return QDir().mkpath(file.absolutePath());
}

} // namespace core
