#pragma once
// Where the program's data files are: the user's own folder, read and
// written, and the folders of the copies installed with the program, only
// ever read. Worked out once at start-up from the desktop's rules and handed
// to whatever reads or writes a file.
//
// The user's folder is $XDG_DATA_HOME/skyvane (by default
// ~/.local/share/skyvane), created on the first write. Installed copies are
// searched in <dir>/skyvane along $XDG_DATA_DIRS (by default /usr/local/share
// and /usr/share), then in share/skyvane beside the program's bin/ folder.
// Relative entries in either variable are ignored, as the rules ask.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace core {

class DataPlaces {
public:
    DataPlaces() = default;
    DataPlaces(QString userFolder, QStringList installedFolders);

    // The places the environment names for the application's folder name.
    static DataPlaces fromEnvironment(const QString& application = QStringLiteral("skyvane"));

    const QString& userFolder() const { return m_userFolder; }
    const QStringList& installedFolders() const { return m_installedFolders; }

    // The path of the user's own copy of a file (which may not exist yet), in
    // the file system's encoding.
    std::string userFile(const QString& name) const;
    // The first installed copy of a file that exists, or none.
    std::optional<std::string> installedFile(const QString& name) const;

private:
    QString m_userFolder;
    QStringList m_installedFolders;
};

// Creates the folder a file goes in (the user's data folder is made on its
// first write, as the desktop's conventions ask). False when it neither
// exists nor can be made.
bool makeParentFolder(const std::string& path);

} // namespace core
