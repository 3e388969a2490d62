// Target: the course dialog open, both sorted lists filled, within 50 ms for
// an airport file of every identifier AAA to ZZZ (17,576 records).
#include "BenchSupport.h"
#include "course/CourseDialog.h"
#include "core/NumberText.h"
#include "store/AirportDatabase.h"

#include <QComboBox>

static void OpenCourseDialogWithAllIdentifiers(benchmark::State& state) {
    std::string text;
    // Written in a scrambled order so that the lists really sort.
    for (int i = 0; i < 26 * 26 * 26; ++i) {
        const int n = (i * 7919) % (26 * 26 * 26);
        const char id[4] = {char('A' + n / 676), char('A' + n / 26 % 26), char('A' + n % 26), 0};
        text += id;
        text += ":" + core::formatFixed(n % 180 - 90.0, 6) + ";" +
                core::formatFixed(n % 360 - 180.0, 6) + ",";
    }
    store::airportDatabase().text() = text;
    for (auto _ : state) {
        CCourseDialog dlg;
        dlg.m_strDepAirport = QStringLiteral("KLA");
        dlg.createModeless(nullptr);
        benchmark::DoNotOptimize(dlg.m_cbArrival->count());
    }
}
BENCHMARK(OpenCourseDialogWithAllIdentifiers)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::run(argc, argv);
}
