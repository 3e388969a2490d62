#include "navdb/WorldUpdateDialog.h"

#include "core/Files.h"
#include "navdb/WorldUpdate.h"
#include "platform/MessageBox.h"

#include <QEventLoop>
#include <QProgressDialog>

namespace navdb {

bool updateWorldDataShown(QWidget* parent, const std::string& databasePath, const QUrl& base) {
    if (!core::makeParentFolder(databasePath)) {
        platform::showMessage(parent, QStringLiteral("The folder of the navigation database "
                                                     "cannot be made; nothing was updated."));
        return false;
    }
    const int files = static_cast<int>(worldFiles().size());
    QProgressDialog progress(QStringLiteral("Fetching the world data…"), QStringLiteral("Cancel"),
                             0, files * 100 + 1, parent);
    progress.setWindowTitle(QStringLiteral("Update world data"));
    progress.setAccessibleName(QStringLiteral("World data update"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    WorldUpdate update(databasePath, base);
    QEventLoop loop;
    bool updated = false;
    QString said;
    QObject::connect(&update, &WorldUpdate::fetching, [&](int file) {
        progress.setLabelText(QStringLiteral("Fetching %1 (%2 of %3)…")
                                  .arg(QLatin1String(worldFiles()[std::size_t(file)].name))
                                  .arg(file + 1)
                                  .arg(files));
        progress.setValue(file * 100);
    });
    QObject::connect(&update, &WorldUpdate::progress, [&](int file, qint64 received, qint64 total) {
        const int part = total > 0 ? static_cast<int>(received * 100 / total) : 0;
        progress.setValue(file * 100 + std::min(part, 99));
    });
    QObject::connect(&update, &WorldUpdate::importing, [&] {
        progress.setLabelText(QStringLiteral("Importing the world data…"));
        progress.setValue(files * 100);
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &update, &WorldUpdate::cancel);
    QObject::connect(&update, &WorldUpdate::finished, [&](bool ok, const QString& message) {
        updated = ok;
        said = message;
        loop.quit();
    });
    update.start();
    loop.exec();
    progress.close();
    platform::showMessage(parent, said);
    return updated;
}

} // namespace navdb
