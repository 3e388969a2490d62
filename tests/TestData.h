#pragma once
// Helpers for tests of widget-free code: a private data directory and the
// decimal-comma locale runs. Qt Core only, so pure tests link the core
// library alone.

#include "core/DataPlaces.h"
#include "store/Globals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstring>

namespace testing {

// A fresh $XDG_DATA_HOME with an empty "skyvane" folder, or (false) one
// where that folder cannot be made: a plain file stands in its way. Nothing is
// installed along $XDG_DATA_DIRS unless a test puts it into installed(). The
// run's data places are worked out from them, as start-up does.
class DataDir {
public:
    explicit DataDir(bool usable = true) {
        QDir(home.path()).mkpath(QStringLiteral("system"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/system")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
        if (usable) {
            qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
            QDir(home.path()).mkpath(QStringLiteral("skyvane"));
        } else {
            QFile blocker(home.path() + QStringLiteral("/blocked"));
            blocker.open(QIODevice::WriteOnly);
            qputenv("XDG_DATA_HOME", QFile::encodeName(blocker.fileName()));
        }
        store::useDataPlaces(core::DataPlaces::fromEnvironment());
    }
    // Where a file installed with the program would stand.
    QString installed(const QString& file) const {
        QDir(home.path()).mkpath(QStringLiteral("system/skyvane"));
        return home.path() + QStringLiteral("/system/skyvane/") + file;
    }
    QString path(const QString& file) const {
        return home.path() + QStringLiteral("/skyvane/") + file;
    }
    void write(const QString& file, const QByteArray& bytes) const {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& file) const {
        QFile f(path(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& file) const { return QFile::exists(path(file)); }
    QTemporaryDir home;
};

// True when the C library's locale uses a decimal comma, as the
// comma-locale runs of the file tests ask for.
inline bool commaLocaleActive() {
    return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

// Fails a comma-locale run whose locale is not installed, rather than passing
// it silently.
inline void checkRequestedLocale() {
    if (qEnvironmentVariableIsSet("SKYVANE_EXPECT_COMMA_LOCALE"))
        QVERIFY2(commaLocaleActive(), "de_DE.UTF-8 locale is not installed");
}

} // namespace testing
