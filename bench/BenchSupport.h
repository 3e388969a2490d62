#pragma once
// Benchmarks run the dialogs offscreen, with message boxes recorded, in a
// private data directory.

#include "platform/MessageBox.h"

#include "store/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace bench {

inline QTemporaryDir& dataHome() {
    static QTemporaryDir dir;
    return dir;
}

inline void writeDataFile(const QString& name, const QByteArray& bytes) {
    QDir(dataHome().path()).mkpath(QStringLiteral("skyvane"));
    QFile f(dataHome().path() + QStringLiteral("/skyvane/") + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline int run(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_DATA_HOME", dataHome().path().toLocal8Bit());
    store::useDataPlaces(core::DataPlaces::fromEnvironment());
    QApplication app(argc, argv);
    platform::setMessageHook([](const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
