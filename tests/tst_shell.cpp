// The application shell: start-up to the leg dialog and out again, the
// splash screen, and the About and Help texts.
#include "TestSupport.h"
#include "app/PlannerApp.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/AboutDialogIds.h"
#include "dialogs/HelpDialog.h"
#include "dialogs/HelpDialogIds.h"
#include "dialogs/SplashDialog.h"
#include "leg/LegDialog.h"
#include "platform/Resources.h"
#include "platform/WindowRegistry.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

namespace {

QStringList linesOf(const platform::Dialog& d, int id) {
    return d.itemAs<QPlainTextEdit>(id)->toPlainText().split('\n');
}

QWidget* pictureOf(CSplashDialog& splash) {
    return splash.findChild<QLabel*>();
}

// Opens a dialog twice from the leg dialog's button and checks it each time;
// the check must close it.
template <class DialogType>
void openTwiceFromLegDialog(int buttonId, std::function<void(DialogType&)> check) {
    testing::DataDir dir;
    testing::Messages messages;
    const auto services = testing::services();
    CLegDialog leg(*services);
    leg.createModeless(nullptr);
    for (int round = 0; round < 2; ++round) {
        bool seen = false;
        testing::whenModal<DialogType>([&seen, check](DialogType& d) {
            seen = true;
            check(d);
        });
        testing::click(leg, buttonId);
        QVERIFY(seen);
    }
    QCOMPARE(testing::text(leg, 1003), QString("0")); // nothing else changed
}

// A splash shown over a stand-in main window.
struct SplashUp {
    explicit SplashUp(unsigned timeout) {
        main.show();
        platform::setMainWindow(&main);
        shown = splash.ShowSplash(timeout);
    }
    ~SplashUp() { platform::setMainWindow(nullptr); }
    QWidget main;
    CSplashDialog splash;
    bool shown = false;
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void startsShowsLegDialogAndQuits();
    void splashClosesOnItsTimer();
    void splashClosesOnPressAndConsumesIt_data();
    void splashClosesOnPressAndConsumesIt();
    void splashIgnoresOtherInput();
    void splashNeedsAnEnabledMainWindow();
    void splashKeepsItsProportions();
    void aboutText();
    void helpTexts();
};

void TestShell::startsShowsLegDialogAndQuits() {
    testing::DataDir dir;
    testing::Messages messages;
    bool seen = false;
    testing::whenModal<CLegDialog>([&seen](CLegDialog& dlg) {
        seen = true;
        QCOMPARE(dlg.windowTitle(), QString("Skyvane ..."));
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.m_wndSplash.windowExists());
        QCOMPARE(dlg.m_wndSplash.m_nTimeout, 5000u);
        QVERIFY(dlg.m_wndSplash.isVisible());
        QCOMPARE(platform::mainWindow(), &dlg);
        testing::click(dlg, 2);
    });
    CPlannerApp app;
    QCOMPARE(app.InitInstance(), false);
    QVERIFY(seen);
    // The files' messages came while the splash was up.
    QCOMPARE(messages.list,
             (QStringList{"Cannot open congfiguration file!", "Cannot open airports file!"}));
    QCOMPARE(platform::mainWindow(), nullptr);
}

void TestShell::splashClosesOnItsTimer() {
    SplashUp up(50);
    CSplashDialog& splash = up.splash;
    QVERIFY(up.shown);
    QVERIFY(splash.windowExists());
    QVERIFY(splash.isVisible());
    QTRY_VERIFY(!splash.windowExists());
    QVERIFY(!splash.isVisible());
    QTest::qWait(120); // later ticks, if any, change nothing
    QVERIFY(!splash.isVisible());
}

void TestShell::splashClosesOnPressAndConsumesIt_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("left button") << int(Qt::LeftButton);
    QTest::newRow("right button") << int(Qt::RightButton);
    QTest::newRow("middle button") << int(Qt::MiddleButton);
    QTest::newRow("a key") << 0;
}

void TestShell::splashClosesOnPressAndConsumesIt() {
    QFETCH(int, kind);
    SplashUp up(60000);
    CSplashDialog& splash = up.splash;
    QVERIFY(up.shown);
    QWidget* picture = pictureOf(splash);
    QVERIFY(picture);
    bool consumed = false;
    if (kind) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                          Qt::MouseButton(kind), Qt::MouseButton(kind), Qt::NoModifier);
        consumed = QApplication::sendEvent(picture, &press);
    } else {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        consumed = QApplication::sendEvent(&splash, &key);
    }
    QVERIFY(consumed);
    QVERIFY(!splash.windowExists());
    QVERIFY(!splash.isVisible());
}

void TestShell::splashIgnoresOtherInput() {
    SplashUp up(60000);
    CSplashDialog& splash = up.splash;
    QVERIFY(up.shown);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pictureOf(splash), &release);
    QKeyEvent keyUp(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&splash, &keyUp);
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pictureOf(splash), &move);
    QVERIFY(splash.windowExists());
    // A key that goes to the main window leaves the splash up.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&up.main, &key);
    QVERIFY(splash.windowExists());
}

void TestShell::splashNeedsAnEnabledMainWindow() {
    CSplashDialog none;
    QVERIFY(!none.ShowSplash(5000));
    QWidget main;
    main.setEnabled(false);
    platform::setMainWindow(&main);
    CSplashDialog disabled;
    QVERIFY(!disabled.ShowSplash(5000));
    QVERIFY(!disabled.isVisible());
    platform::setMainWindow(nullptr);
}

void TestShell::aboutText() {
    openTwiceFromLegDialog<CAboutDialog>(1024, [](CAboutDialog& d) {
        QCOMPARE(d.windowTitle(), QString("About"));
        const QStringList lines = linesOf(d, ids::about::DISCLAIMER);
        QCOMPARE(lines.size(), 14);
        QVERIFY(lines.first().startsWith("THE SOFTWARE IS PROVIDED"));
        QCOMPARE(lines[12].right(9), QString("SOFTWARE."));
        QCOMPARE(lines.last(), QString("WARNING!!! IT IS ALWAYS PILOTS RESPONSIBILITY FOR "
                                       "PROPER PREFLIGHT PLANNING!"));
        QVERIFY(d.itemAs<QPlainTextEdit>(ids::about::DISCLAIMER)->isReadOnly());
        const QList<QLabel*> labels = d.findChildren<QLabel*>();
        QStringList texts;
        for (QLabel* l : labels)
            texts << l->text();
        QVERIFY(texts.contains("Skyvane Calculator"));
        QVERIFY(texts.contains("version 1.3 2003"));
        QCOMPARE(d.focusWidget(), d.item(1));
        testing::click(d, 1);
    });
}

void TestShell::helpTexts() {
    const QStringList easy = {"Easy start:",
                              "======================",
                              "1. Press TC button and choose the",
                              "coordinates of origin and destination",
                              "airport to get True Course and",
                              "Distance, or enter directly True",
                              QString::fromUtf8("Course if you know it into \u2018TC\u2019 field."),
                              "",
                              "2. Enter the Time Off into the",
                              QString::fromUtf8("\u2018Off \u2018field"),
                              "",
                              QString::fromUtf8("3. Enter the Distance if it\u2019s not"),
                              "filled already by TC function.",
                              "",
                              "4. Enter the wind direction and",
                              "wind velocity (WD and WV fields)",
                              "",
                              "5. True Airspeed, Variation,",
                              "Magnetic Deviation, Gallons per Hour",
                              "and Total Fuel should be already",
                              "filled out as have been saved as",
                              "defaults. If not, enter these data",
                              QString::fromUtf8("and press the button \u2018save\u2019. Next"),
                              "time they will be remembered.",
                              "",
                              "6. Press 'Run' button",
                              "",
                              "7. Press 'Next' button to continue",
                              "with next leg or 'Reset' button to",
                              "start over new flight"};
    const QStringList shortcuts = {"shortcuts:",
                                   "======================",
                                   "TC - true course",
                                   "WD - wind direction",
                                   "WV - wind velocity",
                                   "TAS - true airspeed",
                                   "VAR - variation",
                                   "MD - magnetic deviation",
                                   "Dist - distance",
                                   "Off - time off",
                                   "GPH - gallons per hour",
                                   "Fuel - amount of fuel",
                                   "WCA - wind correction angle",
                                   "TH - true heading",
                                   "MH - magnetic heading",
                                   "CH - corrected heading",
                                   "GS - ground speed",
                                   "ETE - esimated time enroute",
                                   "ETA - estimated time of arrivel",
                                   "F.used - fuel used",
                                   "Total Burnt - total fuel burnt",
                                   "Total Dist - total distance",
                                   ""};
    openTwiceFromLegDialog<CHelpDialog>(1029, [&](CHelpDialog& d) {
        QCOMPARE(d.windowTitle(), QString("Help"));
        QCOMPARE(linesOf(d, ids::help::EASY_START), easy);
        QCOMPARE(linesOf(d, ids::help::SHORTCUTS), shortcuts);
        QTest::keyClick(&d, Qt::Key_Return); // OK is the default button
        QVERIFY(!d.isVisible());
    });
}

void TestShell::splashKeepsItsProportions() {
    CSplashDialog splash;
    const QPixmap source = platform::loadImage(QStringLiteral("splash.bmp"));
    const QPixmap shown = static_cast<QLabel*>(pictureOf(splash))->pixmap();
    QVERIFY(!shown.isNull() && !source.isNull());
    // Width over height, the same to within a pixel's rounding.
    QVERIFY(qAbs(shown.width() * source.height() - shown.height() * source.width()) <=
            qMax(source.width(), source.height()));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
