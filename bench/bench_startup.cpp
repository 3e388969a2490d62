// Target: start-up to the leg dialog shown under 300 ms, the splash's five
// seconds excluded (the splash is created and shown, its timer not awaited).
#include "BenchSupport.h"
#include "leg/LegDialog.h"
#include "platform/WindowRegistry.h"
#include "store/Services.h"

#include <QFile>

static void StartUpToLegDialogShown(benchmark::State& state) {
    bench::writeDataFile("config.fly", "a:ABC\r\nb:40.5\r\nc:-74.25\r\nd:110\r\ne:13\r\n"
                                       "f:2\r\ng:8\r\nh:40\r\n");
    QFile starter(QStringLiteral(SKYVANE_STARTER_AIRPORTS));
    bench::writeDataFile("airports.fly",
                         starter.open(QIODevice::ReadOnly) ? starter.readAll() : QByteArray());
    for (auto _ : state) {
        // A start as the application makes it: its data, then the window.
        store::Services services(store::dataPlaces());
        CLegDialog dlg(services);
        platform::setMainWindow(&dlg);
        dlg.createModeless(nullptr);
        QApplication::processEvents();
        benchmark::DoNotOptimize(dlg.isVisible());
        platform::setMainWindow(nullptr);
    }
}
BENCHMARK(StartUpToLegDialogShown)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::run(argc, argv);
}
