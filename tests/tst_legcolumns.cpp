// The one list of a leg's columns: each output's headings in their order
// (as the windows, the CSV and the page have always shown them), a leg that
// could not be computed showing nothing that reads as a figure, the stored
// log giving back digit for digit what it was given, and the table model the
// windows show.
#include "core/NumberText.h"
#include "core/Text.h"
#include "navlog/LegColumns.h"
#include "navlog/LegTableModel.h"

#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using navlog::LegFigures;
using navlog::Output;

Q_DECLARE_METATYPE(navlog::Output)

namespace {

LegFigures computedLeg() {
    LegFigures l;
    l.from = "LSZH";
    l.to = "LSZB";
    l.trueCourseDeg = 244;
    l.windDirectionDeg = 270;
    l.windVelocityKt = 15;
    l.tasKt = 110;
    l.windCorrectionDeg = -3.48;
    l.trueHeadingDeg = 240.52;
    l.variationDeg = -3;
    l.magHeadingDeg = 243.52;
    l.magDeviationDeg = 1;
    l.compassHeadingDeg = 244.52;
    l.groundSpeedKt = 96.42;
    l.distanceNm = 52.31;
    l.off.time = QTime(23, 50);
    l.eteMin = 32.55;
    l.eta = {QTime(0, 22, 33), 1};
    l.fuelUsedGal = 4.34;
    l.fuelLeftGal = 35.66;
    l.fuelFlowGph = 8;
    l.fuelAtStartGal = 40;
    l.totalBurntGal = 4.34;
    l.totalDistanceNm = 52.31;
    return l;
}

LegFigures plannedLeg(bool computed) {
    LegFigures l = computed ? computedLeg() : LegFigures{};
    l.from = "LSZB";
    l.to = "LSGG";
    l.computed = computed;
    l.planned = true;
    l.alternate = true;
    l.altitudeFt = 6500;
    l.plannedWind = {270, 15};
    l.problem = computed ? QString() : QString("no wind: type one or fill the winds aloft");
    l.flagged = !computed;
    return l;
}

} // namespace

class TestLegColumns : public QObject {
    Q_OBJECT
private slots:
    void paperTimes_data();
    void paperTimes();
    void headingsOfEachOutput_data();
    void headingsOfEachOutput();
    void aLegThatCouldNotBeComputedShowsNoFigure_data();
    void aLegThatCouldNotBeComputedShowsNoFigure();
    void asShownIsTheRoundTripThroughText();
    void storedLogGivesBackWhatWasShown_data();
    void storedLogGivesBackWhatWasShown();
    void plannedLegJson();
    void tableModelFollowsTheLog();
};

void TestLegColumns::headingsOfEachOutput_data() {
    QTest::addColumn<Output>("output");
    QTest::addColumn<QString>("headings");
    QTest::newRow("nav log window")
        << Output::Log
        << "#,From,To,TC,WD/WV,TAS,WCA,TH,Var,MH,MD,CH,GS,Dist,Off,ETE,ETA,F.used,F.left,Reserve";
    QTest::newRow("CSV") << Output::Csv
                         << "Leg,From,To,TC,WD,WV,TAS,WCA,TH,Var,MH,MD,CH,GS,Dist,Off,ETE,ETA,"
                            "F.used,F.left,Reserve,WCA side,Problem";
    QTest::newRow("plan window") << Output::Plan
                                 << "From,To,Alt,TC,Wind,WCA,TH,Var,MH,MD,CH,GS,Dist,ETE,ETA,"
                                    "F.used,F.left,To go nm,To go min,Note";
    QTest::newRow("paper") << Output::Paper
                           << "#,From,Checkpoint,Alt,TC,W/V,TAS,TH,Var,MH,MD,CH,WCA,GS,Dist,Off,"
                              "ETE,ETA,ATA,F.used,F.left,F.act,Res,Notes";
}

void TestLegColumns::headingsOfEachOutput() {
    QFETCH(Output, output);
    QTEST(navlog::headingsOf(output).join(','), "headings");
}

void TestLegColumns::aLegThatCouldNotBeComputedShowsNoFigure_data() {
    QTest::addColumn<Output>("output");
    QTest::addColumn<QString>("row");
    QTest::newRow("CSV")
        << Output::Csv
        << "2|LSZB|LSGG||||||||||||||||||||no wind: type one or fill the winds aloft";
    QTest::newRow("plan window") << Output::Plan
                                 << "LSZB (alternate)|LSGG|6500|||||||||||||||||no wind: type one "
                                    "or fill the winds aloft";
    QTest::newRow("paper") << Output::Paper << "2|LSZB|LSGG (alt.)|6500||||||||||||||||||||";
}

void TestLegColumns::aLegThatCouldNotBeComputedShowsNoFigure() {
    QFETCH(Output, output);
    const LegFigures leg = plannedLeg(false);
    QTEST(navlog::rowOf(output, {leg, 2, true}).join('|'), "row");
}

// asShown skips the text for whole hundredths: it must give what the round
// trip through 15 digits gives, for hundredths of every size and for values
// that are not hundredths.
void TestLegColumns::asShownIsTheRoundTripThroughText() {
    QRandomGenerator random(20261208);
    auto viaText = [](double x) { return core::parseNumber(core::formatGeneral(x)).value_or(x); };
    for (int i = 0; i < 200000; ++i) {
        const double scale = std::pow(10.0, random.bounded(15));
        const double n = std::round((random.generateDouble() - 0.5) * scale);
        for (const double x : {n / 100, n / 100 + 1e-9, (n + random.generateDouble()) / 100,
                               random.generateDouble() * scale}) {
            const double fast = core::asShown(x), slow = viaText(x);
            if (!(fast == slow))
                QFAIL(qPrintable(QString::number(x, 'g', 17)));
        }
    }
}

void TestLegColumns::storedLogGivesBackWhatWasShown_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a plain figure") << 35.66 << "35.66";
    QTest::newRow("fifteen digits") << 123456789.012345 << "123456789.012345";
    QTest::newRow("a sum that is not exact") << core::asShown(0.1 + 0.2) << "0.3";
    QTest::newRow("tiny") << 1e-20 << "1e-20";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("large") << 1e300 << "1e+300";
}

void TestLegColumns::storedLogGivesBackWhatWasShown() {
    QFETCH(double, value);
    LegFigures leg = computedLeg();
    leg.eta.days = 0; // the log's legs are the leg dialog's, all on one day
    leg.fuelLeftGal = value;
    leg.windCorrectionDeg = value;
    const QJsonObject stored = navlog::storedLeg(leg);
    QTEST(stored.value("fuelLeft").toString(), "shown");
    QString error;
    const auto back = navlog::legOfStored(stored, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(navlog::storedLeg(*back), stored);
    QCOMPARE(navlog::rowOf(Output::Csv, {*back, 1}), navlog::rowOf(Output::Csv, {leg, 1}));
    QCOMPARE(stored.value("eta").toString(), QString("00:22:33"));
}

void TestLegColumns::plannedLegJson() {
    const QJsonObject missing = navlog::plannedLegJson(plannedLeg(false));
    QCOMPARE(missing.keys(), (QStringList{"alternate", "altitudeFt", "from", "problem", "to"}));
    const QJsonObject flown = navlog::plannedLegJson(plannedLeg(true));
    QCOMPARE(flown.value("wca").toDouble(), -3.48);
    QCOMPARE(flown.value("wcaSide").toString(), QString("3.48 R"));
    QCOMPARE(flown.value("eta").toString(), QString("00:22:33 +1"));
    QCOMPARE(flown.value("toGoNm").toDouble(), 0.0);
    QVERIFY(!flown.contains("problem") && !flown.contains("gph"));
}

void TestLegColumns::tableModelFollowsTheLog() {
    navlog::LegTableModel model(Output::Log, true);
    QCOMPARE(model.rowCount(), 0);
    navlog::Trip trip;
    trip.legs = {computedLeg()};
    model.setTrip(trip, 30);
    LegFigures low = computedLeg();
    low.fuelLeftGal = 3.99; // below 30 min at 8 gal/h
    low.totalBurntGal = 36.01;
    model.appendLeg(low);
    QCOMPARE(model.rowCount(), 3);
    const int reserve = navlog::headingsOf(Output::Log).indexOf("Reserve");
    const int burnt = navlog::headingsOf(Output::Log).indexOf("F.used");
    QCOMPARE(model.index(1, reserve).data().toString(), QString("below reserve"));
    QVERIFY(!model.index(0, reserve).data(Qt::BackgroundRole).isValid());
    QVERIFY(model.index(1, reserve).data(Qt::BackgroundRole).isValid());
    // The totals row follows the leg just added.
    QCOMPARE(model.index(2, 0).data().toString(), QString("Total"));
    QCOMPARE(model.index(2, burnt).data().toString(), QString("36.01"));
    QCOMPARE(model.headerData(burnt, Qt::Horizontal).toString(), QString("F.used"));
}

// The kneeboard's times at a glance: whole minutes, the hour past 60, the
// clock to the nearest minute carrying into the next day.
void TestLegColumns::paperTimes_data() {
    QTest::addColumn<double>("minutes");
    QTest::addColumn<QString>("ete");
    QTest::addColumn<QTime>("clock");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("eta");
    QTest::newRow("under half") << 0.4 << "0" << QTime(10, 15, 29) << 0 << "10:15";
    QTest::newRow("half up") << 31.5 << "32" << QTime(10, 15, 30) << 0 << "10:16";
    QTest::newRow("just under the hour") << 59.4 << "59" << QTime(9, 59, 59) << 0 << "10:00";
    QTest::newRow("rounds to the hour") << 59.5 << "1:00" << QTime(23, 59, 30) << 0 << "00:00 +1";
    QTest::newRow("past the hour") << 125.2 << "2:05" << QTime(0, 40, 12) << 1 << "00:40 +1";
}

void TestLegColumns::paperTimes() {
    QFETCH(double, minutes);
    QFETCH(QString, ete);
    QFETCH(QTime, clock);
    QFETCH(int, days);
    QFETCH(QString, eta);
    QCOMPARE(navlog::paperMinutesText(minutes), ete);
    QCOMPARE(navlog::paperTimeText(navlog::DayTime{clock, days}), eta);
}

QTEST_GUILESS_MAIN(TestLegColumns)
#include "tst_legcolumns.moc"
