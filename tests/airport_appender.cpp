// A second running copy, as far as the airport file is concerned:
//   airport_appender append PREFIX COUNT   adds COUNT airports PREFIX00, PREFIX01, ...
//   airport_appender hold                  holds the file's lock until stdin closes
// The data directory comes from XDG_DATA_HOME, as for the program.
#include "core/Files.h"
#include "store/AirportDatabase.h"
#include "store/Globals.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    store::useDataPlaces(core::DataPlaces::fromEnvironment());
    if (argc == 4 && std::strcmp(argv[1], "append") == 0) {
        const std::string prefix = argv[2];
        const int count = std::atoi(argv[3]);
        store::AirportDatabase db(store::dataPlaces());
        db.setLockTimeout(30000);
        const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (int i = 0; i < count; ++i) {
            const std::string id = prefix + digits[i / 36 % 36] + digits[i % 36];
            if (db.append(id, i, -i) != core::WriteStatus::Written)
                return 1;
        }
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "hold") == 0) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(
            store::dataPlaces().userFile(QLatin1String(store::kAirportFileName))));
        QLockFile lock(path + QStringLiteral(".lock"));
        if (!lock.lock())
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    std::fputs("usage: airport_appender append PREFIX COUNT | hold\n", stderr);
    return 2;
}
