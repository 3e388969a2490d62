// Targets: the course dialog open, both sorted lists filled, within 50 ms for
// an airport file of every identifier AAA to ZZZ (17,576 records), and within
// 100 ms for the world's airports (80,000 records); a typed code finds its
// entry in either list at once.
#include "BenchSupport.h"
#include "core/NumberText.h"
#include "course/CourseDialog.h"
#include "platform/ComboBoxes.h"
#include "store/AirportDatabase.h"
#include "store/Services.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// n distinct three-character identifiers in a scrambled order (so that the
// lists really sort), with positions.
std::string airportText(int n) {
    const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr int kBase = 36;
    std::string text;
    for (int i = 0; i < n; ++i) {
        const int k =
            static_cast<int>((static_cast<long long>(i) * 7919) % (kBase * kBase * kBase));
        const char id[4] = {digits[k / (kBase * kBase)], digits[k / kBase % kBase],
                            digits[k % kBase], 0};
        text += id;
        text += ":" + core::formatFixed(k % 180 - 90.0, 6) + ";" +
                core::formatFixed(k % 360 - 180.0, 6) + ",";
    }
    return text;
}

void openCourseDialog(benchmark::State& state, int airports) {
    store::airportDatabase().text() = airportText(airports);
    store::airportDatabase().index().clear();
    const store::Services services(store::dataPlaces());
    for (auto _ : state) {
        // Every opening as the first of a run: the index is built anew.
        state.PauseTiming();
        store::airportDatabase().index().clear();
        state.ResumeTiming();
        CCourseDialog dlg(services);
        dlg.m_strDepAirport = QStringLiteral("KLA");
        dlg.createModeless(nullptr);
        benchmark::DoNotOptimize(dlg.m_cbArrival->count());
    }
}

} // namespace

static void OpenCourseDialogWithAllIdentifiers(benchmark::State& state) {
    openCourseDialog(state, 26 * 26 * 26);
}
BENCHMARK(OpenCourseDialogWithAllIdentifiers)->Unit(benchmark::kMillisecond);

static void OpenCourseDialogWithTheWorld(benchmark::State& state) {
    openCourseDialog(state, 80000);
}
BENCHMARK(OpenCourseDialogWithTheWorld)->Unit(benchmark::kMillisecond);

static void FindTypedCodeInBothLists(benchmark::State& state) {
    store::airportDatabase().text() = airportText(80000);
    const store::Services services(store::dataPlaces());
    CCourseDialog dlg(services);
    dlg.createModeless(nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::findComboItem(dlg.m_cbArrival, QStringLiteral("z9q")));
        benchmark::DoNotOptimize(platform::findComboItem(dlg.m_cbDeparture, QStringLiteral("Z9Q")));
    }
}
BENCHMARK(FindTypedCodeInBothLists)->Unit(benchmark::kMicrosecond);

// A key press in the departure list (no edit field): the list jumps to the
// next entry starting with that letter, across 80,000 entries.
static void KeyPressSearchInTheWorldList(benchmark::State& state) {
    store::airportDatabase().text() = airportText(80000);
    const store::Services services(store::dataPlaces());
    CCourseDialog dlg(services);
    dlg.createModeless(nullptr);
    int letter = 0;
    for (auto _ : state) {
        const QString text(QChar('A' + letter++ % 26));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + letter % 26, Qt::NoModifier, text);
        QCoreApplication::sendEvent(dlg.m_cbDeparture, &press);
        benchmark::DoNotOptimize(dlg.m_cbDeparture->currentIndex());
    }
}
BENCHMARK(KeyPressSearchInTheWorldList)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return bench::run(argc, argv);
}
