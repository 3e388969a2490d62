// The briefing's arithmetic against independent answers: the standard
// atmosphere against its published table, sunrise and twilight against the
// US Naval Observatory's almanac, runway components worked by hand, and the
// METAR, TAF and winds-aloft decoders on a corpus of reports.
#include "PlanSamples.h"
#include "briefing/Atmosphere.h"
#include "briefing/Briefing.h"
#include "briefing/Report.h"
#include "briefing/RunwayWind.h"
#include "briefing/Sun.h"
#include "briefing/WindsBulletin.h"

#include <QTest>

#include <cmath>

using namespace briefing;

class TestBriefing : public QObject {
    Q_OBJECT
private slots:
    void standardAtmosphere_data();
    void standardAtmosphere();
    void densityAltitude();
    void sunTimes_data();
    void sunTimes();
    void polarDayAndNight();
    void dateLine();
    void runwayComponents_data();
    void runwayComponents();
    void favouredRunway();
    void metarCorpus_data();
    void metarCorpus();
    void flightCategory_data();
    void flightCategory();
    void tafPeriods();
    void northAmericanTaf();
    void windsBulletin();
    void windsBulletinLinesUp();
    void nightAndDaylight();
    void undecodable();
    void legsInWords();
};

// The ICAO standard atmosphere's published table.
void TestBriefing::standardAtmosphere_data() {
    QTest::addColumn<double>("altitudeFt");
    QTest::addColumn<double>("temperatureC");
    QTest::addColumn<double>("pressureHpa");
    QTest::addColumn<double>("densityRatio");
    QTest::newRow("sea level") << 0.0 << 15.0 << 1013.25 << 1.0;
    QTest::newRow("5000") << 5000.0 << 5.09 << 843.07 << 0.8617;
    QTest::newRow("10000") << 10000.0 << -4.81 << 696.82 << 0.7385;
    QTest::newRow("20000") << 20000.0 << -24.62 << 465.63 << 0.5328;
    QTest::newRow("30000") << 30000.0 << -44.44 << 300.90 << 0.3741;
}

void TestBriefing::standardAtmosphere() {
    QFETCH(double, altitudeFt);
    QFETCH(double, temperatureC);
    QFETCH(double, pressureHpa);
    QFETCH(double, densityRatio);
    QVERIFY(std::abs(isaTemperatureC(altitudeFt) - temperatureC) < 0.01);
    QVERIFY2(std::abs(isaPressureHpa(altitudeFt) - pressureHpa) < 0.05,
             qPrintable(QString::number(isaPressureHpa(altitudeFt))));
    QVERIFY(std::abs(isaDensityRatio(altitudeFt) - densityRatio) < 0.0002);
    // At the standard temperature the density altitude is the pressure altitude.
    QVERIFY(std::abs(densityAltitudeFt(altitudeFt, temperatureC) - altitudeFt) < 5);
    // A field at sea level whose QNH is the table's pressure there stands at
    // that pressure altitude.
    QVERIFY2(std::abs(pressureAltitudeFt(0, pressureHpa) - altitudeFt) < 5,
             qPrintable(QString::number(pressureAltitudeFt(0, pressureHpa))));
}

void TestBriefing::densityAltitude() {
    // Air at 5,000 ft of pressure as dense as the table's 10,000 ft: its
    // temperature from the gas law, p / (rho T) constant.
    const double kelvin = (843.07 / 1013.25) / 0.7385 * 288.15;
    QVERIFY(std::abs(densityAltitudeFt(5000, kelvin - 273.15) - 10000) < 20);
    // A field 2,000 ft high with QNH 1013 on a 35 °C day: about 4,700 ft by
    // the pilot's rule of 120 ft per degree above standard; the exact figure
    // lies close.
    const double pa = pressureAltitudeFt(2000, 1013.25);
    QCOMPARE(std::lround(pa), 2000L);
    const double da = densityAltitudeFt(pa, 35);
    QVERIFY2(da > 4500 && da < 4900, qPrintable(QString::number(da)));
    // QNH 29.92 inHg is the standard pressure to within a foot or two.
    QVERIFY(std::abs(pressureAltitudeFt(500, 29.92 * kHpaPerInHg) - 500) < 3);
}

// Published by the US Naval Observatory (rise and set at 80° N and 60° S,
// civil twilight at Orlando), to the minute, in UTC.
void TestBriefing::sunTimes_data() {
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("utc");
    const QDate mar(2019, 3, 1), oct(2019, 10, 1), jun(2019, 6, 21), jan(2019, 1, 15);
    QTest::newRow("80N rise") << 80.0 << 0.0 << mar << "rise"
                              << "2019-03-01T09:02";
    QTest::newRow("80N set") << 80.0 << 0.0 << mar << "set"
                             << "2019-03-01T15:25";
    QTest::newRow("80N Oct rise") << 80.0 << 0.0 << oct << "rise"
                                  << "2019-10-01T06:41";
    QTest::newRow("80N Oct set") << 80.0 << 0.0 << oct << "set"
                                 << "2019-10-01T16:54";
    QTest::newRow("60S June rise") << -60.0 << -150.0 << jun << "rise"
                                   << "2019-06-21T19:06";
    QTest::newRow("60S June set") << -60.0 << -150.0 << jun << "set"
                                  << "2019-06-22T00:58";
    QTest::newRow("60S Jan rise") << -60.0 << -150.0 << jan << "rise"
                                  << "2019-01-15T13:12";
    QTest::newRow("60S Jan set") << -60.0 << -150.0 << jan << "set"
                                 << "2019-01-16T07:06";
    const QDate winter(2022, 1, 22);
    QTest::newRow("Orlando Jan dawn") << 28.538 << -81.379 << winter << "dawn"
                                      << "2022-01-22T11:52";
    QTest::newRow("Orlando Jan dusk") << 28.538 << -81.379 << winter << "dusk"
                                      << "2022-01-22T23:21";
}

void TestBriefing::sunTimes() {
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QDate, date);
    QFETCH(QString, event);
    QFETCH(QString, utc);
    const SunDay day = sunDay({lat, lon}, date);
    const SunCrossing& c = event == "rise"   ? day.sunrise
                           : event == "set"  ? day.sunset
                           : event == "dawn" ? day.civilDawn
                                             : day.civilDusk;
    QVERIFY(c.at.has_value());
    const QDateTime expected = QDateTime::fromString(utc + ":30Z", Qt::ISODate);
    // The almanac's minute is the time rounded: within it and a minute more.
    const qint64 off = std::abs(c.at->secsTo(expected));
    QVERIFY2(off <= 90, qPrintable(c.at->toString(Qt::ISODate) + " against " + utc));
}

void TestBriefing::polarDayAndNight() {
    const SunDay summer = sunDay({80, 0}, QDate(2019, 6, 15));
    QVERIFY(summer.sunrise.alwaysAbove && !summer.sunrise.at);
    QVERIFY(summer.civilDusk.alwaysAbove);
    const SunDay winter = sunDay({80, 0}, QDate(2019, 12, 15));
    QVERIFY(winter.sunset.alwaysBelow && !winter.sunset.at);
    QVERIFY(winter.civilDawn.alwaysBelow);
    QVERIFY(isNight({80, 0}, QDateTime(QDate(2019, 12, 15), QTime(12, 0), Qt::UTC)));
    QVERIFY(!isNight({80, 0}, QDateTime(QDate(2019, 6, 15), QTime(0, 0), Qt::UTC)));
}

// Either side of the date line the same morning is a day apart in date but
// minutes apart in time, and each falls in its own place's morning.
void TestBriefing::dateLine() {
    const QDateTime noonUtc(QDate(2026, 12, 8), QTime(0, 0), Qt::UTC);
    const QDate east = localSolarDate(noonUtc, 179.9), west = localSolarDate(noonUtc, -179.9);
    QCOMPARE(east, QDate(2026, 12, 8));
    QCOMPARE(west, QDate(2026, 12, 7));
    const SunDay fiji = sunDay({-17.755, 179.9}, east);
    const SunDay samoa = sunDay({-17.755, -179.9}, west);
    QVERIFY(fiji.sunrise.at && samoa.sunrise.at);
    QVERIFY(std::abs(fiji.sunrise.at->secsTo(*samoa.sunrise.at)) < 120);
    QCOMPARE(localSolarDate(*fiji.sunrise.at, 179.9), east);
    QCOMPARE(localSolarDate(*samoa.sunrise.at, -179.9), west);
    QVERIFY(*fiji.sunrise.at < *fiji.sunset.at);
}

namespace {
navdb::RunwayEnd end(const char* ident, std::optional<double> heading,
                     const char* surface = "ASP") {
    navdb::RunwayEnd e;
    e.ident = QString::fromLatin1(ident);
    e.headingDegT = heading;
    e.surface = QString::fromLatin1(surface);
    e.lengthFt = 3000;
    return e;
}
SurfaceWind wind(std::optional<double> dir, double speed, std::optional<double> gust = {}) {
    SurfaceWind w;
    w.directionDegT = dir;
    w.speedKt = speed;
    w.gustKt = gust;
    return w;
}
} // namespace

// Worked by hand: headwind = V cos(wind - runway), crosswind = V sin(...).
void TestBriefing::runwayComponents_data() {
    QTest::addColumn<double>("runwayDeg");
    QTest::addColumn<double>("windDeg");
    QTest::addColumn<double>("speedKt");
    QTest::addColumn<double>("gustKt");
    QTest::addColumn<double>("headKt");
    QTest::addColumn<double>("crossKt");
    QTest::addColumn<double>("gustCrossKt");
    QTest::addColumn<QString>("side");
    QTest::newRow("along") << 360.0 << 360.0 << 10.0 << 0.0 << 10.0 << 0.0 << 0.0 << "";
    QTest::newRow("across from the right")
        << 360.0 << 90.0 << 10.0 << 0.0 << 0.0 << 10.0 << 10.0 << "right";
    QTest::newRow("across from the left")
        << 90.0 << 360.0 << 10.0 << 0.0 << 0.0 << 10.0 << 10.0 << "left";
    QTest::newRow("behind") << 360.0 << 180.0 << 10.0 << 0.0 << -10.0 << 0.0 << 0.0 << "";
    QTest::newRow("30 left") << 360.0 << 330.0 << 15.0 << 0.0 << 12.99 << 7.5 << 7.5 << "left";
    QTest::newRow("gusts") << 10.0 << 30.0 << 20.0 << 30.0 << 18.79 << 6.84 << 10.26 << "right";
}

void TestBriefing::runwayComponents() {
    QFETCH(double, runwayDeg);
    QFETCH(double, windDeg);
    QFETCH(double, speedKt);
    QFETCH(double, gustKt);
    QFETCH(double, headKt);
    QFETCH(double, crossKt);
    QFETCH(double, gustCrossKt);
    QFETCH(QString, side);
    const RunwayWinds r = runwayWinds(
        {end("RW", runwayDeg)},
        wind(windDeg, speedKt, gustKt > 0 ? std::optional(gustKt) : std::nullopt), 0, {});
    QCOMPARE(r.runways.size(), std::size_t(1));
    QVERIFY(std::abs(r.runways[0].headwindKt - headKt) < 0.01);
    QVERIFY(std::abs(r.runways[0].crosswindKt - crossKt) < 0.01);
    QVERIFY(std::abs(r.runways[0].gustCrosswindKt - gustCrossKt) < 0.01);
    QCOMPARE(r.runways[0].crosswindSide, side);
}

void TestBriefing::favouredRunway() {
    // Runway ends 36 and 01 in a wind from 010: the same headwind in whole
    // knots, so the one with no crosswind.
    RunwayWinds r = runwayWinds({end("36", 360), end("01", 10), end("18", 180), end("19", 190)},
                                wind(10, 10), 0, {});
    QVERIFY(r.runways[1].favoured && !r.runways[0].favoured);
    // A grass and a paved runway the same way: the paved one.
    r = runwayWinds({end("27G", 270, "GRS"), end("27", 270, "ASPH")}, wind(270, 10), 0, {});
    QVERIFY(r.runways[1].favoured && !r.runways[0].favoured);
    // No heading in the data: its number, magnetic, made true (10° W).
    r = runwayWinds({end("27", std::nullopt)}, wind(260, 10), 10, {});
    QVERIFY(r.runways[0].headingFromNumber);
    QVERIFY(std::abs(r.runways[0].headwindKt - 10) < 1e-9);
    // Beyond the demonstrated crosswind, in the gusts.
    r = runwayWinds({end("36", 360), end("18", 180)}, wind(90, 10, 15), 0, 12.0);
    QCOMPARE(r.warnings.size(), 1);
    QVERIFY(r.runways[0].beyondDemonstrated);
    // Calm and variable are said, not computed.
    r = runwayWinds({end("36", 360)}, wind(0, 0), 0, {});
    QVERIFY(r.said.startsWith("Calm"));
    QVERIFY(!r.runways[0].favoured);
    r = runwayWinds({end("36", 360)}, wind(std::nullopt, 5), 0, 4.0);
    QVERIFY(r.said.contains("Variable 5 kt"));
    QCOMPARE(r.warnings.size(), 1);
    QVERIFY(!r.runways[0].favoured);
}

void TestBriefing::metarCorpus_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("station");
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QString>("temps"); // "T/D", empty parts when missing
    QTest::addColumn<double>("qnhHpa"); // 0: none
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("rest"); // trend | remarks | RVR
    QTest::newRow("European")
        << "METAR LSZH 081150Z 24012G22KT 200V280 9999 -SHRA FEW015 BKN030 08/05 Q1008 NOSIG="
        << "LSZH"
        << "wind 240° 12 gusting 22 kt, varying 200° to 280°, visibility 10 km or more, light "
           "showers of rain, FEW 1500 ft, BKN 3000 ft"
        << "8/5" << 1008.0 << "MVFR"
        << "NOSIG||";
    QTest::newRow("US fog")
        << "KPAO 081847Z AUTO 00000KT 1 1/2SM BR OVC004 M01/M02 A2992 RMK AO2 SLP133"
        << "KPAO"
        << "wind calm, visibility 1 1/2 SM, mist, OVC 400 ft"
        << "-1/-2" << 1013.2 << "LIFR"
        << "|AO2 SLP133|";
    QTest::newRow("CAVOK") << "METAR EGLL 081220Z 27015KT CAVOK 12/M03 Q1025"
                           << "EGLL"
                           << "wind 270° 15 kt, CAVOK"
                           << "12/-3" << 1025.0 << "VFR"
                           << "||";
    QTest::newRow("variable P6SM") << "SPECI KHAF 081905Z VRB04KT P6SM SKC 18/12 A3001"
                                   << "KHAF"
                                   << "wind variable 4 kt, visibility 6 SM or more, SKC"
                                   << "18/12" << 1016.3 << "VFR"
                                   << "||";
    QTest::newRow("missing groups")
        << "METAR COR LFPG 081200Z /////KT //// // ////// Q////"
        << "LFPG"
        << "wind wind missing, weather not observed, clouds not observed, not decoded: ////"
        << "/" << 0.0 << "unknown"
        << "||";
    QTest::newRow("metres per second, RVR, VV")
        << "METAR LSGS 081150Z 05003MPS 3000 1200SW R25/1200VP1500U FG VV002 M03/M03 Q1030"
        << "LSGS"
        << "wind 050° 6 kt, visibility 3000 m, fog, VV 200 ft, not decoded: 1200SW"
        << "-3/-3" << 1030.0 << "LIFR"
        << "||R25/1200VP1500U";
    QTest::newRow("thunderstorm")
        << "METAR KMIA 081253Z 18010KT M1/4SM +TSRAGR BKN008CB 25/22 A2990 TEMPO 2SM"
        << "KMIA"
        << "wind 180° 10 kt, visibility less than 1/4 SM, heavy thunderstorm with rain and hail, "
           "BKN 800 ft CB"
        << "25/22" << 1012.5 << "LIFR"
        << "TEMPO 2SM||";
    QTest::newRow("NSC") << "METAR EGLL 081220Z 27015KT 9999 NSC 12/M03 Q1025"
                         << "EGLL"
                         << "wind 270° 15 kt, visibility 10 km or more, NSC"
                         << "12/-3" << 1025.0 << "VFR"
                         << "||";
    QTest::newRow("unknown group")
        << "METAR EDDF 081150Z 24008KT 9999 XYZ12 SCT040 10/04 Q1018"
        << "EDDF"
        << "wind 240° 8 kt, visibility 10 km or more, SCT 4000 ft, not decoded: XYZ12"
        << "10/4" << 1018.0 << "VFR"
        << "||";
}

void TestBriefing::metarCorpus() {
    QFETCH(QString, text);
    QFETCH(QString, station);
    QFETCH(QString, conditions);
    QFETCH(QString, temps);
    QFETCH(double, qnhHpa);
    QFETCH(QString, category);
    QFETCH(QString, rest);
    const MetarRead read = decodeMetar(text, QDate(2026, 12, 8));
    QVERIFY2(read.metar, qPrintable(read.error));
    const Metar& m = *read.metar;
    QCOMPARE(m.station, station);
    QCOMPARE(conditionsText(m.now), conditions);
    auto t = [](const std::optional<double>& v) { return v ? QString::number(*v) : QString(); };
    QCOMPARE(t(m.temperatureC) + "/" + t(m.dewPointC), temps);
    if (qnhHpa > 0)
        QVERIFY2(std::abs(*m.altimeterHpa - qnhHpa) < 0.06, qPrintable(t(m.altimeterHpa)));
    else
        QVERIFY(!m.altimeterHpa);
    QCOMPARE(categoryName(categoryOf(m.now)), category);
    QCOMPARE(m.trend + "|" + m.remarks + "|" + m.runwayVisualRange.join(" "), rest);
    QCOMPARE(m.observed->date().day(), 8);
}

void TestBriefing::flightCategory_data() {
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("category");
    QTest::newRow("5 SM is marginal") << "5SM BKN040"
                                      << "MVFR";
    QTest::newRow("over 5 SM, ceiling 3100") << "6SM BKN031"
                                             << "VFR";
    QTest::newRow("ceiling 3000 is marginal") << "P6SM OVC030"
                                              << "MVFR";
    QTest::newRow("ceiling 1000") << "P6SM BKN010"
                                  << "MVFR";
    QTest::newRow("ceiling 900") << "P6SM BKN009"
                                 << "IFR";
    QTest::newRow("ceiling 500") << "P6SM OVC005"
                                 << "IFR";
    QTest::newRow("ceiling 400") << "P6SM OVC004"
                                 << "LIFR";
    QTest::newRow("3 SM") << "3SM SCT005"
                          << "MVFR";
    QTest::newRow("2 3/4 SM") << "2 3/4SM SKC"
                              << "IFR";
    QTest::newRow("1 SM") << "1SM CLR"
                          << "IFR";
    QTest::newRow("3/4 SM") << "3/4SM CLR"
                            << "LIFR";
    QTest::newRow("8000 m") << "8000 FEW020"
                            << "MVFR";
    QTest::newRow("few clouds only") << "9999 FEW005"
                                     << "VFR";
    QTest::newRow("no cloud group") << "9999"
                                    << "unknown";
    QTest::newRow("no visibility") << "BKN040"
                                   << "unknown";
    QTest::newRow("no visibility, very low") << "OVC002"
                                             << "LIFR";
    QTest::newRow("base missing") << "9999 BKN///"
                                  << "unknown";
}

void TestBriefing::flightCategory() {
    QFETCH(QString, groups);
    QFETCH(QString, category);
    const MetarRead read = decodeMetar("METAR TEST 081200Z 00000KT " + groups, QDate(2026, 12, 8));
    QVERIFY(read.metar);
    QVERIFY(read.metar->now.undecoded.isEmpty());
    QCOMPARE(categoryName(categoryOf(read.metar->now)), category);
}

void TestBriefing::tafPeriods() {
    const TafRead read = decodeTaf("TAF LSZH 081100Z 0812/0918 24010KT 9999 SCT030 TX12/0814Z "
                                   "TN03/0906Z\n BECMG 0816/0818 30015G25KT\n TEMPO 0818/0822 4000 "
                                   "SHRA BKN012\n PROB30 TEMPO 0902/0906 0800 FG\n FM090900 "
                                   "VRB03KT CAVOK=",
                                   QDate(2026, 12, 8));
    QVERIFY2(read.taf, qPrintable(read.error));
    const Taf& taf = *read.taf;
    QCOMPARE(taf.validFrom, QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC));
    QCOMPARE(taf.validTo, QDateTime(QDate(2026, 12, 9), QTime(18, 0), Qt::UTC));
    QCOMPARE(taf.periods.size(), std::size_t(5));
    QCOMPARE(taf.temperatures.size(), 2);
    const TafPeriod& tempo = taf.periods[2];
    QCOMPARE(conditionsText(tempo.conditions),
             QString("visibility 4000 m, showers of rain, BKN 1200 ft"));
    QCOMPARE(taf.periods[3].probabilityPercent, 30);
    QVERIFY(taf.periods[3].temporary);
    QCOMPARE(taf.periods[4].to, taf.validTo);
    using V = std::vector<std::size_t>;
    auto at = [&](int day, int hour) {
        return periodsAt(taf, QDateTime(QDate(2026, 12, day), QTime(hour, 0), Qt::UTC));
    };
    QCOMPARE(at(8, 13), V({0}));
    QCOMPARE(at(8, 19), V({0, 1, 2}));
    QCOMPARE(at(9, 4), V({0, 1, 3}));
    QCOMPARE(at(9, 10), V({4}));
    QCOMPARE(at(9, 18), V());
    QCOMPARE(at(8, 11), V());
}

void TestBriefing::northAmericanTaf() {
    // Across a month's end, and FM with its day.
    const TafRead read = decodeTaf("KPAO 301720Z 3018/0112 31012KT P6SM SKC FM010200 VRB05KT 3SM "
                                   "BR OVC008 WS010/18040KT",
                                   QDate(2026, 12, 1));
    QVERIFY2(read.taf, qPrintable(read.error));
    QCOMPARE(read.taf->validFrom, QDateTime(QDate(2026, 11, 30), QTime(18, 0), Qt::UTC));
    QCOMPARE(read.taf->validTo, QDateTime(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC));
    QCOMPARE(read.taf->issued->date(), QDate(2026, 11, 30));
    const TafPeriod& fm = read.taf->periods.at(1);
    QCOMPARE(fm.from, QDateTime(QDate(2026, 12, 1), QTime(2, 0), Qt::UTC));
    QCOMPARE(categoryName(categoryOf(fm.conditions)), QString("IFR"));
    QCOMPARE(fm.conditions.undecoded, QStringList{"WS010/18040KT"});
    QVERIFY(decodeTaf("TAF", QDate(2026, 12, 1)).error.contains("station"));
    QVERIFY(decodeTaf("TAF LSZH 081100Z 3a12/0918", QDate(2026, 12, 1)).error.contains("validity"));
}

namespace {
const char* kBulletin = R"(FBUS31 KWNO 081359
FD1US1
DATA BASED ON 081200Z
VALID 081800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000

FT  3000    6000    9000   12000   18000   24000  30000  34000  39000
BOS 3127 3425-07 3420-11 3421-16 3516-27 3512-38 311649 292451 283256
DEN              2714-03 2725-08 2845-21 2860-33 780047 781155 790465
SFO 9900 9900+10 3410+05 3315-01 4125-15 2940-27 751143 760351 759962
)";
}

void TestBriefing::windsBulletin() {
    const BulletinRead read = decodeWindsBulletin(QString::fromLatin1(kBulletin));
    QVERIFY2(read.bulletin, qPrintable(read.error));
    const WindsBulletin& b = *read.bulletin;
    QCOMPARE(b.basedOn, QString("081200Z"));
    QCOMPARE(b.forUse, QString("1400-2100Z"));
    QCOMPARE(b.levelsFt.size(), std::size_t(9));
    QCOMPARE(b.stations.size(), std::size_t(3));
    const StationWinds& bos = b.stations[0];
    QCOMPARE(bos.levels[0].wind->directionDeg, 310.0);
    QCOMPARE(bos.levels[0].wind->speedKt, 27.0);
    QVERIFY(!bos.levels[0].temperatureC);
    QCOMPARE(*bos.levels[1].temperatureC, -7.0);
    QCOMPARE(*bos.levels[6].temperatureC, -49.0); // the minus implied above 24,000
    const StationWinds& den = b.stations[1];
    QVERIFY(den.levels[0].text.isEmpty() && !den.levels[0].wind);
    QVERIFY(den.levels[1].text.isEmpty());
    QCOMPARE(den.levels[2].text, QString("2714-03"));
    QCOMPARE(den.levels[6].wind->directionDeg, 280.0); // 78 - 50
    QCOMPARE(den.levels[6].wind->speedKt, 100.0);
    QCOMPARE(den.levels[8].wind->speedKt, 104.0);
    QCOMPARE(*den.levels[8].temperatureC, -65.0);
    const StationWinds& sfo = b.stations[2];
    QVERIFY(sfo.levels[0].lightAndVariable);
    QCOMPARE(*sfo.levels[1].temperatureC, 10.0);
    QVERIFY(!sfo.levels[4].wind && sfo.levels[4].problem.contains("4125"));
    QVERIFY(sfo.levels[8].atLeast);
    QCOMPARE(sfo.levels[8].wind->speedKt, 199.0);
    QCOMPARE(sfo.levels[8].wind->directionDeg, 250.0);
    const std::vector<plan::WindRow> rows = windRowsOf(den);
    QCOMPARE(rows.size(), std::size_t(7));
    QCOMPARE(rows.front().altitudeFt, 9000.0);
    QCOMPARE(*rows.front().temperatureC, -3.0);
    QCOMPARE(windRowsOf(sfo).size(), std::size_t(8)); // the undecoded level left out
}

void TestBriefing::windsBulletinLinesUp() {
    // Spaces lost in pasting: one group per level still reads in order.
    BulletinRead read = decodeWindsBulletin("FT 3000 6000 9000\nABC 3127 3425-07 3420-11\n");
    QVERIFY(read.bulletin);
    QCOMPARE(*read.bulletin->stations[0].levels[2].temperatureC, -11.0);
    // Fewer groups that line up with no level: refused, not guessed.
    read = decodeWindsBulletin("FT  3000    6000    9000\nABC   3425-07 3420-11\n");
    QVERIFY(!read.bulletin);
    QVERIFY(read.error.contains("ABC"));
    QVERIFY(decodeWindsBulletin("nothing here").error.contains("FT"));
    // Two bulletins pasted together, or a row of levels that is not one.
    QVERIFY(decodeWindsBulletin("FT 3000\nABC 3127\nFT 6000\nDEF 3425-07\n")
                .error.contains("one bulletin"));
    QVERIFY(decodeWindsBulletin("FT 3000 {\nABC 3127\n").error.contains("\"{\""));
    // A sign missing below 24,000 ft is said, not read as minus.
    QVERIFY(!decodeLevel("342507", 6000).wind);
}

void TestBriefing::nightAndDaylight() {
    plan::FlightPlan p = testing::threeLegs();
    p.zone = plan::PlanZone::Utc;
    // Zürich on 8 December: civil dusk about 16:08 UTC. Off at 15:40 the
    // first leg ends in twilight, the second in the dark.
    p.off = QDateTime(QDate(2026, 12, 8), QTime(15, 40), Qt::UTC);
    plan::ComputedPlan c = plan::computePlan(p, nullptr);
    Briefing b = briefingOf(p, c, nullptr, nullptr);
    QCOMPARE(b.nightLegs, std::vector<int>({2, 3}));
    QVERIFY(b.warnings.join(" ").contains("arrival at LSGG is after"));
    QVERIFY(b.warnings.join(" ").contains("legs 2 and 3"));
    // Off before the morning's civil twilight (about 06:25 UTC).
    p.off = QDateTime(QDate(2026, 12, 8), QTime(6, 0), Qt::UTC);
    c = plan::computePlan(p, nullptr);
    b = briefingOf(p, c, nullptr, nullptr);
    QVERIFY(b.warnings.join(" ").contains("departure is before"));
    QCOMPARE(b.nightLegs.front(), 1);
    // At noon nothing is said.
    p.off = QDateTime(QDate(2026, 12, 8), QTime(11, 0), Qt::UTC);
    c = plan::computePlan(p, nullptr);
    b = briefingOf(p, c, nullptr, nullptr);
    QVERIFY(b.nightLegs.empty());
    QVERIFY(b.warnings.isEmpty());
    // The same wall clock in the computer's zone names another instant
    // unless the computer keeps UTC.
    QCOMPARE(plan::utcOf(p.off, plan::PlanZone::Utc), p.off);
    QCOMPARE(plan::zoneName(p.off, plan::PlanZone::Utc), QString("UTC"));
    // A report's wind and altimeter reach the airport's briefing.
    p.weather[0].metar = "METAR LSZH 081050Z 24012KT 9999 FEW040 28/10 Q1003";
    p.waypoints.front().elevationFt = 1416;
    b = briefingOf(p, c, nullptr, nullptr);
    const AirportBriefing& zh = b.airports.front();
    QCOMPARE(zh.surfaceWind->source, QString("METAR"));
    QVERIFY(std::abs(*zh.pressureAltitudeFt - (1416 + 281)) < 5);
    // 16.4 °C above standard: about 120 ft a degree more.
    QVERIFY2(std::abs(*zh.densityAltitudeFt - (1697 + 120 * 16.4)) < 150,
             qPrintable(QString::number(*zh.densityAltitudeFt)));
}

// What is no report is refused and said; a NIL report is one with nothing.
void TestBriefing::undecodable() {
    for (const char* text : {"", "hello world", "METAR", "12345 67890"})
        QVERIFY(!decodeMetar(text, QDate(2026, 12, 8)).error.isEmpty());
    const MetarRead nil = decodeMetar("METAR EDDF 081150Z NIL=", QDate(2026, 12, 8));
    QVERIFY(nil.metar && nil.metar->nil);
    QCOMPARE(categoryOf(nil.metar->now), FlightCategory::Unknown);
    const TafRead tafNil = decodeTaf("TAF EDDF 081100Z NIL=", QDate(2026, 12, 8));
    QVERIFY(tafNil.taf && tafNil.taf->nil && tafNil.taf->periods.empty());
    // Two reports pasted together: each on its own.
    QCOMPARE(splitReports("METAR LSZH 081150Z 24012KT CAVOK 08/05 Q1008=\nMETAR LSGG "
                          "081150Z 22008KT CAVOK 09/04 Q1010=")
                 .size(),
             2);
}

void TestBriefing::legsInWords() {
    QCOMPARE(legsText({3}), QString("3"));
    QCOMPARE(legsText({1, 2, 3, 5}), QString("1 to 3 and 5"));
    QCOMPARE(legsText({1, 3, 5}), QString("1, 3 and 5"));
    QCOMPARE(legsText({2, 3}), QString("2 and 3"));
}

QTEST_GUILESS_MAIN(TestBriefing)
#include "tst_briefing.moc"
