// Target: the leg computation under 1 microsecond; a whole Run press, fields
// read and written, under 2 milliseconds.
#include "BenchSupport.h"
#include "leg/LegCalc.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "store/Services.h"

#include <QLineEdit>
#include <QPushButton>

static void LegComputation(benchmark::State& state) {
    leg::LegInput in;
    in.trueCourseDeg = 90;
    in.windDirectionDeg = 45;
    in.windVelocityKt = 20;
    in.tasKt = 110;
    in.variationDeg = 13;
    in.magDeviationDeg = 2;
    in.distanceNm = 50;
    in.fuelFlowGph = 8;
    in.fuelGal = 40;
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(leg::computeLeg(in));
    }
}
BENCHMARK(LegComputation);

static void RunPress(benchmark::State& state) {
    bench::writeDataFile("config.fly", "a:ABC\r\nb:0\r\nc:0\r\nd:110\r\ne:13\r\nf:2\r\n"
                                       "g:8\r\nh:40\r\n");
    store::Services services(store::dataPlaces());
    CLegDialog dlg(services);
    dlg.createModeless(nullptr);
    const std::pair<int, const char*> fields[] = {
        {ids::leg::TC, "90"}, {ids::leg::WD, "45"}, {ids::leg::WV, "20"}, {ids::leg::DIST, "50"}};
    for (const auto& [id, value] : fields)
        dlg.itemAs<QLineEdit>(id)->setText(value);
    QPushButton* run = dlg.itemAs<QPushButton>(ids::leg::RUN);
    for (auto _ : state) {
        run->click();
        state.PauseTiming();
        dlg.OnReset(); // back to an uncomputed leg
        for (const auto& [id, value] : fields)
            dlg.itemAs<QLineEdit>(id)->setText(value);
        state.ResumeTiming();
    }
}
BENCHMARK(RunPress)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return bench::run(argc, argv);
}
