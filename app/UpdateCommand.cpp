#include "app/UpdateCommand.h"

#include "app/Console.h"
#include "core/Files.h"
#include "navdb/WorldUpdate.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <memory>

namespace app {

int runUpdateCommand(const std::string& databasePath, const QString& baseUrl) {
    const QString name = QCoreApplication::applicationName();
    const QUrl base(baseUrl.isEmpty() ? QString::fromLatin1(navdb::kWorldDataUrl) : baseUrl);
    if (!base.isValid() ||
        (base.scheme() != QLatin1String("https") && base.scheme() != QLatin1String("http"))) {
        say(stderr, QStringLiteral("%1: --update-navdata takes an http or https address, not "
                                   "'%2'\nTry '%1 --help' for the options.\n")
                        .arg(name, baseUrl));
        return 2;
    }
    if (!core::makeParentFolder(databasePath)) {
        say(stderr,
            QStringLiteral("%1: cannot make the folder of the navigation database\n").arg(name));
        return 1;
    }
    // The network needs an event loop, and so an application object.
    std::unique_ptr<QCoreApplication> own;
    if (!QCoreApplication::instance()) {
        static char program[] = "skyvane";
        static char* arguments[] = {program, nullptr};
        static int count = 1;
        own = std::make_unique<QCoreApplication>(count, arguments);
    }
    navdb::WorldUpdate update(databasePath, base);
    QEventLoop loop;
    int exitCode = 1;
    QObject::connect(&update, &navdb::WorldUpdate::fetching, [&](int file) {
        say(stderr,
            QStringLiteral("fetching %1\n")
                .arg(base.resolved(QUrl(QLatin1String(navdb::worldFiles()[std::size_t(file)].name)))
                         .toString()));
    });
    QObject::connect(&update, &navdb::WorldUpdate::importing,
                     [] { say(stderr, QStringLiteral("importing\n")); });
    QObject::connect(&update, &navdb::WorldUpdate::finished, [&](bool ok, const QString& message) {
        say(ok ? stdout : stderr, message + QLatin1Char('\n'));
        exitCode = ok ? 0 : 1;
        loop.quit();
    });
    update.start();
    loop.exec();
    return exitCode;
}

} // namespace app
