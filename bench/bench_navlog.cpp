// Targets: a Run press with the nav log window open stays under 2 ms as the
// trip grows to 500 legs; a 500-leg trip exports as CSV in under 20 ms and as
// a PDF in under 1 s. Also measured: writing the stored log of that trip,
// which happens after the Run press, not inside it.
#include "BenchSupport.h"
#include "core/Text.h"
#include "kneeboard/KneeboardPrint.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navlog/LegColumns.h"
#include "navlog/NavLogWindow.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

navlog::Trip tripOf(int legs) {
    navlog::Trip trip;
    trip.started = QDateTime(QDate(2026, 12, 7), QTime(10, 0));
    for (int i = 0; i < legs; ++i) {
        navlog::LegFigures leg;
        leg.from = QStringLiteral("ABC");
        leg.to = QStringLiteral("KLA");
        leg.trueCourseDeg = i % 360;
        leg.windDirectionDeg = 45;
        leg.windVelocityKt = 20;
        leg.tasKt = 110;
        leg.windCorrectionDeg = 7;
        leg.trueHeadingDeg = 83;
        leg.variationDeg = 13;
        leg.magHeadingDeg = 96;
        leg.magDeviationDeg = 2;
        leg.compassHeadingDeg = 98;
        leg.groundSpeedKt = 95;
        leg.distanceNm = 50;
        leg.off.time = QTime(10, 0);
        leg.eteMin = 31.6;
        leg.eta.time = QTime(10, 31, 36);
        leg.fuelUsedGal = 4.21;
        leg.fuelLeftGal = core::asShown(40 - i * 0.07);
        leg.fuelFlowGph = 8;
        leg.fuelAtStartGal = 40;
        leg.totalBurntGal = core::asShown(i * 4.21);
        leg.totalDistanceNm = i * 50 + 50;
        trip.legs.push_back(leg);
    }
    return trip;
}

} // namespace

static void RunPressWithLogOpen(benchmark::State& state) {
    bench::writeDataFile("config.fly", "a:ABC\r\nb:0\r\nc:0\r\nd:110\r\ne:13\r\nf:2\r\n"
                                       "g:8\r\nh:100\r\n");
    store::Services services(store::dataPlaces());
    CLegDialog dlg(services);
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
