// Every control identifier a dialog, its tests or the benchmarks name through
// an identifier header stands in that dialog's template, once.
#include "course/CourseDialogIds.h"
#include "dialogs/AboutDialogIds.h"
#include "dialogs/ConversionsDialogIds.h"
#include "dialogs/HelpDialogIds.h"
#include "dialogs/SplashDialogIds.h"
#include "leg/LegDialogIds.h"
#include "platform/DialogTemplate.h"

#include <QTest>

namespace {

struct Named {
    const char* name;
    int id;
};

void checkTemplate(int templateId, const std::vector<Named>& ids) {
    const platform::DialogTemplate t = platform::loadDialogTemplate(templateId);
    QVERIFY2(!t.controls.empty(), qPrintable(QString("template %1 is missing").arg(templateId)));
    QCOMPARE(t.id, templateId);
    for (const Named& n : ids) {
        const auto count = std::count_if(t.controls.begin(), t.controls.end(),
                                         [&n](const auto& c) { return c.id == n.id; });
        QVERIFY2(count == 1, qPrintable(QString("%1 (%2) stands %3 times in template %4")
                                            .arg(n.name)
                                            .arg(n.id)
                                            .arg(count)
                                            .arg(templateId)));
    }
}

#define SKYVANE_NAMED(name, id) Named{#name, id},

} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    void everyIdentifierStandsInItsTemplate() {
        checkTemplate(ids::leg::kTemplate, {SKYVANE_LEG_DIALOG_IDS(SKYVANE_NAMED)});
        checkTemplate(ids::course::kTemplate, {SKYVANE_COURSE_DIALOG_IDS(SKYVANE_NAMED)});
        checkTemplate(ids::conversions::kTemplate, {SKYVANE_CONVERSIONS_DIALOG_IDS(SKYVANE_NAMED)});
        checkTemplate(ids::about::kTemplate, {SKYVANE_ABOUT_DIALOG_IDS(SKYVANE_NAMED)});
        checkTemplate(ids::help::kTemplate, {SKYVANE_HELP_DIALOG_IDS(SKYVANE_NAMED)});
        checkTemplate(ids::splash::kTemplate, {});
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
