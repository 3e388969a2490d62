// Targets: a Run press with the nav log window open stays under 2 ms as the
// trip grows to 500 legs; a 500-leg trip exports as CSV in under 20 ms and as
// a PDF in under 1 s. Also measured: writing the stored log of that trip,
// which happens after the Run press, not inside it.
#include "BenchSupport.h"
#include "kneeboard/KneeboardPrint.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navlog/LegColumns.h"
#include "navlog/NavLogWindow.h"
#include "store/Globals.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

navlog::Trip tripOf(int legs) {
    navlog::Trip trip;
    trip.started = QDateTime(QDate(2026, 12, 7), QTime(10, 0));
    for (int i = 0; i < legs; ++i) {
        navlog::LegRecord leg;
        leg.from = QStringLiteral("ABC");
        leg.to = QStringLiteral("KLA");
        leg.trueCourse = QString::number(i % 360);
        leg.windDirection = QStringLiteral("45");
        leg.windVelocity = QStringLiteral("20");
        leg.tas = QStringLiteral("110");
        leg.windCorrection = QStringLiteral("7");
        leg.trueHeading = QStringLiteral("83");
        leg.variation = QStringLiteral("13");
        leg.magHeading = QStringLiteral("96");
        leg.magDeviation = QStringLiteral("2");
        leg.compassHeading = QStringLiteral("98");
        leg.groundSpeed = QStringLiteral("95");
        leg.distance = QStringLiteral("50");
        leg.timeOff = QStringLiteral("10:00:00");
        leg.ete = QStringLiteral("31.6");
        leg.eta = QStringLiteral("10:31:36");
        leg.fuelUsed = QStringLiteral("4.21");
        leg.fuelLeft = QString::number(40 - i * 0.07, 'f', 2);
        leg.gph = QStringLiteral("8");
        leg.fuelAtStart = QStringLiteral("40");
        leg.totalBurnt = QString::number(i * 4.21, 'f', 2);
        leg.totalDistance = QString::number(i * 50 + 50);
        trip.legs.push_back(leg);
    }
    return trip;
}

} // namespace

static void RunPressWithLogOpen(benchmark::State& state) {
    bench::writeDataFile("config.fly", "a:ABC\r\nb:0\r\nc:0\r\nd:110\r\ne:13\r\nf:2\r\n"
                                       "g:8\r\nh:100\r\n");
    CLegDialog dlg;
    dlg.createModeless(nullptr);
    dlg.itemAs<QPushButton>(ids::leg::LOG)->click();
    QPushButton* run = dlg.itemAs<QPushButton>(ids::leg::RUN);
    QPushButton* next = dlg.itemAs<QPushButton>(ids::leg::NEXT);
    for (auto _ : state) {
        state.PauseTiming();
        next->click();
        dlg.itemAs<QLineEdit>(ids::leg::DIST)->setText(QStringLiteral("0.1"));
        state.ResumeTiming();
        run->click();
    }
    state.counters["legs"] = static_cast<double>(dlg.m_navLog.latest()->legs.size());
}
BENCHMARK(RunPressWithLogOpen)->Iterations(500)->Unit(benchmark::kMicrosecond);

static void Csv500Legs(benchmark::State& state) {
    const navlog::Trip trip = tripOf(500);
    for (auto _ : state)
        benchmark::DoNotOptimize(navlog::tripCsv(trip, 30));
}
BENCHMARK(Csv500Legs)->Unit(benchmark::kMillisecond);

static void Pdf500Legs(benchmark::State& state) {
    const navlog::Trip trip = tripOf(500);
    for (auto _ : state)
        benchmark::DoNotOptimize(kneeboard::kneeboardPdf(kneeboard::tripSheet(trip, 30, nullptr),
                                                         *kneeboard::pageLayout("a5"), {}));
}
BENCHMARK(Pdf500Legs)->Unit(benchmark::kMillisecond);

static void StoreLogOf500Legs(benchmark::State& state) {
    navlog::TripLog log(store::dataPlaces());
    const navlog::Trip trip = tripOf(500);
    for (const auto& leg : trip.legs)
        log.legComputed(leg, trip.started);
    for (auto _ : state)
        benchmark::DoNotOptimize(log.save());
}
BENCHMARK(StoreLogOf500Legs)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::run(argc, argv);
}
