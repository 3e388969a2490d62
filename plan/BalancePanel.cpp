#include "plan/BalancePanel.h"

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "dialogs/OutputFile.h"
#include "plan/AircraftEditor.h"
#include "plan/BalancePicture.h"
#include "plan/PlanEditor.h"
#include "plan/PlanPanels.h"
#include "plan/TypedFields.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace plan {
namespace {

// The box's entries: none, the plan's own copy when it has one, then the
// files (their paths kept as the entries' data).
constexpr int kNone = 0;
const QString kThisPlans = QStringLiteral("this plan's copy");

QString profileTitle(const AircraftProfile& p) {
    return QStringLiteral("%1 %2").arg(p.registration, p.type).trimmed();
}

} // namespace

BalancePanel::BalancePanel(PlanEditor& editor, const core::DataPlaces& places, QWidget* parent)
    : QGroupBox(QStringLiteral("Weight and balance"), parent), m_editor(editor), m_places(places) {
    m_aircraft = new QComboBox;
    m_aircraft->setAccessibleName(QStringLiteral("Aircraft"));
    m_aircraft->setAccessibleDescription(QStringLiteral("Aircraft"));
    m_loads = new QTableWidget(0, 3);
    m_loads->setAccessibleName(QStringLiteral("Loads"));
    m_loads->verticalHeader()->hide();
    m_loads->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_verdict = new QLabel;
    m_verdict->setAccessibleName(QStringLiteral("Weight and balance verdict"));
    m_verdict->setWordWrap(true);
    m_verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_picture = new BalanceView;
    auto* savePicture = plainButton(QStringLiteral("Save &balance picture…"));
    auto* edit = plainButton(QStringLiteral("Edit aircraft &profiles…"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_aircraft);
    layout->addWidget(m_loads, 1);
    layout->addWidget(m_verdict);
    layout->addWidget(m_picture, 1);
    layout->addWidget(savePicture);
    layout->addWidget(edit);
    connect(edit, &QPushButton::clicked, this, [this] { openEditor(); });
    connect(savePicture, &QPushButton::clicked, this, [this] {
        if (!m_editor.balance()) {
            platform::showMessage(this, QStringLiteral("Choose an aircraft profile first."));
            return;
        }
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Save weight and balance picture"),
                                 QStringLiteral("PNG pictures (*.png);;SVG pictures (*.svg)"));
        if (!path.isEmpty() && !m_picture->save(path, QSize(900, 675)))
            platform::showMessage(this, QStringLiteral("Cannot write picture file!"));
    });
    connect(m_aircraft, qOverload<int>(&QComboBox::activated), this, &BalancePanel::chosen);
    // An edited cell becomes a change once its editor has let go of it.
    connect(m_loads, &QTableWidget::cellChanged, this, [this] {
        if (!m_filling)
            QMetaObject::invokeMethod(
                this, [this] { loadEdited(); }, Qt::QueuedConnection);
    });
    fill();
}

AircraftEditor* BalancePanel::openEditor() {
    if (!m_editorWindow) {
        m_editorWindow =
            new AircraftEditor(m_places.userFolder() + QStringLiteral("/aircraft"), this);
        const QStringList files = aircraftFiles(m_places);
        if (m_editor.plan().profile)
            m_editorWindow->setProfile(*m_editor.plan().profile);
        else if (!files.isEmpty())
            m_editorWindow->open(files.front());
        // A profile saved there is offered in the box at once.
        connect(m_editorWindow, &AircraftEditor::saved, this, &BalancePanel::fill);
    }
    m_editorWindow->show();
    m_editorWindow->raise();
    m_editorWindow->activateWindow();
    return m_editorWindow;
}

void BalancePanel::fillChoices() {
    m_aircraft->clear();
    m_aircraft->addItem(QStringLiteral("No aircraft profile"));
    const auto& profile = m_editor.plan().profile;
    if (profile)
        m_aircraft->addItem(QStringLiteral("%1 (%2)").arg(profileTitle(*profile), kThisPlans));
    for (const QString& path : aircraftFiles(m_places))
        m_aircraft->addItem(QFileInfo(path).completeBaseName(), path);
    m_aircraft->setCurrentIndex(profile ? 1 : kNone);
}

void BalancePanel::fill() {
    m_filling = true;
    fillChoices();
    const FlightPlan& plan = m_editor.plan();
    const bool has = plan.profile.has_value();
    const QString unit = has ? unitText(plan.profile->weightUnit) : QString();
    m_loads->setHorizontalHeaderLabels({QStringLiteral("Station"),
                                        QStringLiteral("Load %1").arg(unit).trimmed(),
                                        QStringLiteral("Max")});
    const int rows = has ? static_cast<int>(plan.profile->stations.size()) : 0;
    m_loads->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const Station& station = plan.profile->stations[i];
        auto* name = new QTableWidgetItem(station.name);
        auto* max = new QTableWidgetItem(core::numberText(station.maxWeight));
        for (QTableWidgetItem* fixed : {name, max})
            fixed->setFlags(fixed->flags() & ~Qt::ItemIsEditable);
        m_loads->setItem(r, 0, name);
        m_loads->setItem(r, 1,
                         new QTableWidgetItem(core::numberText(
                             i < plan.stationLoads.size() ? plan.stationLoads[i] : 0)));
        m_loads->setItem(r, 2, max);
    }
    const auto& balance = m_editor.balance();
    m_verdict->setText(balance ? balance->verdict
                               : QStringLiteral("Choose an aircraft profile for its weight and "
                                                "balance."));
    m_picture->setBalance(plan.profile, balance);
    m_picture->setVisible(balance.has_value());
    m_filling = false;
}

void BalancePanel::chosen(int index) {
    const QString path = m_aircraft->itemData(index).toString();
    if (index == kNone) {
        if (m_editor.plan().profile)
            m_editor.change(QStringLiteral("No aircraft profile"), [](FlightPlan& p) {
                p.profile.reset();
                p.stationLoads.clear();
            });
        return;
    }
    if (path.isEmpty()) // this plan's own copy: nothing changes
        return;
    const ProfileRead read = readProfileFile(path);
    FlightPlan trial = m_editor.plan();
    trial.profile = read.profile;
    const QString tanks = read.profile ? tanksProblem(trial) : QString();
    if (!read.profile || !tanks.isEmpty()) {
        platform::showMessage(
            this, read.profile ? QStringLiteral("This aircraft cannot be chosen: %1.").arg(tanks)
                               : QStringLiteral("The aircraft profile %1 cannot be "
                                                "read: %2.")
                                     .arg(path, read.error));
        fill();
        return;
    }
    m_editor.change(QStringLiteral("Choose aircraft"), [&read](FlightPlan& p) {
        p.profile = read.profile;
        p.stationLoads.assign(read.profile->stations.size(), 0);
    });
}

void BalancePanel::loadEdited() {
    const FlightPlan& plan = m_editor.plan();
    if (m_filling || !plan.profile)
        return;
    std::vector<double> loads;
    for (int r = 0; r < m_loads->rowCount(); ++r) {
        const QTableWidgetItem* item = m_loads->item(r, 1);
        const auto value = typedNumber(item ? item->text() : QString());
        if (!value || !core::limits::kWeight.contains(*value)) {
            platform::showMessage(this, QStringLiteral("A load is a weight from 0 to %1 %2.")
                                            .arg(core::limits::kWeight.high)
                                            .arg(unitText(plan.profile->weightUnit)));
            fill();
            return;
        }
        loads.push_back(*value);
    }
    if (loads != plan.stationLoads)
        m_editor.change(QStringLiteral("Loads"),
                        [&loads](FlightPlan& p) { p.stationLoads = loads; });
}

} // namespace plan
