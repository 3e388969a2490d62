#include "plan/AircraftEditor.h"

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "dialogs/OutputFile.h"
#include "plan/PlanPanels.h"
#include "plan/TypedFields.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstring>
#include <functional>

namespace plan {
namespace {

// The single figures, each where the profile file keeps it ("" for the top
// level; "climbRate" is the climb's own object when it has no table).
struct Figure {
    const char* part;
    const char* key;
    const char* label;
};
const Figure kFigures[] = {
    {"fuel", "usableGal", "Usable fuel (gal)"},
    {"fuel", "densityPerGal", "Fuel density (weight per gal)"},
    {"fuel", "arm", "Fuel arm"},
    {"fuel", "taxiGal", "Taxi fuel (gal)"},
    {"climbRate", "rateFpm", "Climb rate (ft/min), without a climb table"},
    {"climbRate", "tasKt", "Climb TAS (kt), without a climb table"},
    {"climbRate", "fuelFlowGph", "Climb fuel flow (gal/h), without a climb table"},
    {"descent", "rateFpm", "Descent rate (ft/min)"},
    {"descent", "tasKt", "Descent TAS (kt)"},
    {"descent", "fuelFlowGph", "Descent fuel flow (gal/h)"},
    {"", "patternAltitudeFt", "Pattern altitude (ft above the field)"},
    {"", "maxCrosswindKt", "Demonstrated crosswind (kt; may be empty)"},
    {"weights", "empty", "Empty weight"},
    {"weights", "emptyArm", "Empty arm"},
    {"weights", "maxRamp", "Maximum ramp weight"},
    {"weights", "maxTakeoff", "Maximum takeoff weight"},
    {"weights", "maxLanding", "Maximum landing weight"},
};

// The tables: accessible name, the file's keys of their columns.
const QString kCruise = QStringLiteral("Cruise");
const QString kClimb = QStringLiteral("Climb table");
const QString kStations = QStringLiteral("Stations");
const QString kPoints = QStringLiteral("Envelope points");

QString partOf(const Figure& f) {
    return QLatin1String(std::strcmp(f.part, "climbRate") == 0 ? "climb" : f.part);
}

// A cell's number ("8,5" is 8.5), or none and why.
std::optional<double> cellNumber(const QTableWidget* table, int row, int column, QString* why) {
    const QTableWidgetItem* item = table->item(row, column);
    QString text = item ? item->text().trimmed() : QString();
    const auto value = typedNumber(text);
    if (!value && why->isEmpty())
        *why = QStringLiteral("%1, row %2: \"%3\" is not a number")
                   .arg(table->accessibleName())
                   .arg(row + 1)
                   .arg(text);
    return value;
}

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString number(const QJsonValue& v) {
    return v.isDouble() ? core::numberText(v.toDouble()) : QString();
}

} // namespace

AircraftEditor::AircraftEditor(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(folder) {
    setWindowTitle(QStringLiteral("Skyvane aircraft profile"));
    setAccessibleName(QStringLiteral("Aircraft profile"));
    m_registration = new QLineEdit;
    m_type = new QLineEdit;
    m_note = new QLineEdit;
    m_weightUnit = new QComboBox;
    m_weightUnit->addItems({QStringLiteral("lb"), QStringLiteral("kg")});
    m_armUnit = new QComboBox;
    m_armUnit->addItems({QStringLiteral("in"), QStringLiteral("mm"), QStringLiteral("m")});
    m_envelopeName = new QLineEdit;
    m_axis = new QComboBox;
    m_axis->addItems({QStringLiteral("arm"), QStringLiteral("moment")});
    const std::pair<QWidget*, QString> named[] = {{m_registration, QStringLiteral("Registration")},
                                                  {m_type, QStringLiteral("Type")},
                                                  {m_note, QStringLiteral("Note")},
                                                  {m_weightUnit, QStringLiteral("Weight unit")},
                                                  {m_armUnit, QStringLiteral("Arm unit")},
                                                  {m_envelopeName, QStringLiteral("Envelope name")},
                                                  {m_axis, QStringLiteral("Envelope axis")}};
    auto* form = new QFormLayout;
    for (const auto& [widget, name] : named) {
        widget->setAccessibleName(name);
        if (auto* box = qobject_cast<QComboBox*>(widget))
            box->setAccessibleDescription(name);
        form->addRow(name + QLatin1Char(':'), widget);
    }
    m_figures = new QTableWidget(static_cast<int>(std::size(kFigures)), 2);
    m_figures->setAccessibleName(QStringLiteral("Figures"));
    m_figures->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value")});
    m_figures->verticalHeader()->hide();
    m_figures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int r = 0; r < m_figures->rowCount(); ++r) {
        auto* label = new QTableWidgetItem(QLatin1String(kFigures[r].label));
        label->setFlags(label->flags() & ~Qt::ItemIsEditable);
        m_figures->setItem(r, 0, label);
    }
    auto* grid = new QGridLayout;
    grid->addWidget(rowsBox(kCruise, {"Altitude ft", "TAS kt", "Fuel flow gal/h"}), 0, 0);
    grid->addWidget(rowsBox(kClimb, {"Pressure alt ft", "Minutes", "Fuel gal", "Distance nm"}), 0,
                    1);
    grid->addWidget(rowsBox(kStations, {"Name", "Arm", "Max"}), 1, 0);
    grid->addWidget(rowsBox(kPoints, {"Arm or moment", "Weight"}), 1, 1);
    auto* openButton = plainButton(QStringLiteral("&Open…"));
    auto* saveButton = plainButton(QStringLiteral("&Save as…"));
    auto* close = plainButton(QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {openButton, saveButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(m_figures, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    connect(openButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Open aircraft profile"), m_folder,
                                         QStringLiteral("Aircraft profiles (*.json)"), nullptr,
                                         QFileDialog::DontUseNativeDialog);
        if (!path.isEmpty())
            open(path);
    });
    connect(saveButton, &QPushButton::clicked, this, [this] {
        core::makeParentFolder(QFile::encodeName(m_folder + QStringLiteral("/x")).toStdString());
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Save aircraft profile"),
                                 QStringLiteral("Aircraft profiles (*.json)"),
                                 m_folder + QLatin1Char('/') + m_registration->text() + ".json");
        if (!path.isEmpty())
            saveTo(path);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* AircraftEditor::rowsBox(const QString& name, const QStringList& headings) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()));
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headings);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_tables[name] = table;
    auto* add = plainButton(QStringLiteral("Add row"));
    auto* remove = plainButton(QStringLiteral("Remove row"));
    add->setAccessibleName(QStringLiteral("Add row to %1").arg(name));
    remove->setAccessibleName(QStringLiteral("Remove row from %1").arg(name));
    connect(add, &QPushButton::clicked, table, [table] {
        table->insertRow(table->rowCount());
        table->setCurrentCell(table->rowCount() - 1, 0);
        table->setFocus();
    });
    connect(remove, &QPushButton::clicked, table, [table] {
        if (table->currentRow() >= 0)
            table->removeRow(table->currentRow());
    });
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(name));
    layout->addWidget(table, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch(1);
    layout->addLayout(row);
    return box;
}

QTableWidget* AircraftEditor::table(const QString& accessibleName) const {
    const auto it = m_tables.find(accessibleName);
    return it == m_tables.end() ? nullptr : it->second;
}

void AircraftEditor::setProfile(const AircraftProfile& profile) {
    m_loaded = profile;
    const QJsonObject o = profileObject(profile);
    m_registration->setText(profile.registration);
    m_type->setText(profile.type);
    m_note->setText(profile.note);
    m_weightUnit->setCurrentText(unitText(profile.weightUnit));
    m_armUnit->setCurrentText(unitText(profile.armUnit));
    for (int r = 0; r < m_figures->rowCount(); ++r) {
        const Figure& f = kFigures[r];
        const QJsonObject part = partOf(f).isEmpty() ? o : o.value(partOf(f)).toObject();
        m_figures->setItem(r, 1, new QTableWidgetItem(number(part.value(QLatin1String(f.key)))));
    }
    auto fill = [this](const QString& name, int rows,
                       const std::function<QStringList(int)>& cells) {
        QTableWidget* t = m_tables[name];
        t->setRowCount(rows);
        for (int r = 0; r < rows; ++r)
            setRow(t, r, cells(r));
    };
    auto n = [](double v) { return core::numberText(v); };
    fill(kCruise, static_cast<int>(profile.cruise.size()), [&](int r) {
        const CruiseRow& c = profile.cruise[static_cast<std::size_t>(r)];
        return QStringList{n(c.altitudeFt), n(c.tasKt), n(c.fuelFlowGph)};
    });
    fill(kClimb, static_cast<int>(profile.climbTable.size()), [&](int r) {
        const ClimbRow& c = profile.climbTable[static_cast<std::size_t>(r)];
        return QStringList{n(c.pressureAltitudeFt), n(c.minutes), n(c.fuelGal), n(c.distanceNm)};
    });
    fill(kStations, static_cast<int>(profile.stations.size()), [&](int r) {
        const Station& s = profile.stations[static_cast<std::size_t>(r)];
        return QStringList{s.name, n(s.arm), n(s.maxWeight)};
    });
    const Envelope first = profile.envelopes.empty() ? Envelope{} : profile.envelopes.front();
    m_envelopeName->setText(first.name);
    m_axis->setCurrentIndex(first.byMoment ? 1 : 0);
    fill(kPoints, static_cast<int>(first.points.size()), [&](int r) {
        const auto& [x, weight] = first.points[static_cast<std::size_t>(r)];
        return QStringList{n(x), n(weight)};
    });
}

QJsonObject AircraftEditor::json(QString* error) const {
    QJsonObject o = profileObject(m_loaded); // what is not shown stays as it was
    o.insert(QStringLiteral("registration"), m_registration->text().trimmed());
    o.insert(QStringLiteral("type"), m_type->text().trimmed());
    o.remove(QStringLiteral("note"));
    if (!m_note->text().trimmed().isEmpty())
        o.insert(QStringLiteral("note"), m_note->text().trimmed());
    o.insert(QStringLiteral("units"),
             QJsonObject{{QStringLiteral("weight"), m_weightUnit->currentText()},
                         {QStringLiteral("arm"), m_armUnit->currentText()}});
    // Each table's rows as the file keeps them; the first cell that is not a
    // number is the error.
    auto rows = [&](const QString& name, const QStringList& keys, int textColumn = -1) {
        QJsonArray out;
        const QTableWidget* t = m_tables.at(name);
        for (int r = 0; r < t->rowCount(); ++r) {
            QJsonObject row;
            for (int c = 0; c < keys.size(); ++c) {
                if (c == textColumn) {
                    row.insert(keys[c], cellText(t, r, c));
                    continue;
                }
                const auto value = cellNumber(t, r, c, error);
                if (!value)
                    return QJsonArray();
                row.insert(keys[c], *value);
            }
            out.append(row);
        }
        return out;
    };
    o.insert(QStringLiteral("cruise"), rows(kCruise, {"altitudeFt", "tasKt", "fuelFlowGph"}));
    const QJsonArray climb =
        rows(kClimb, {"pressureAltitudeFt", "minutes", "fuelGal", "distanceNm"});
    QJsonObject parts{
        {QStringLiteral("climb"),
         climb.isEmpty() ? QJsonObject() : QJsonObject{{QStringLiteral("table"), climb}}},
        {QStringLiteral("climbRate"), QJsonObject()}};
    o.insert(QStringLiteral("stations"), rows(kStations, {"name", "arm", "max"}, 0));
    QJsonArray points;
    for (const QJsonValue& p : rows(kPoints, {"x", "weight"}))
        points.append(QJsonArray{p.toObject().value(QStringLiteral("x")),
                                 p.toObject().value(QStringLiteral("weight"))});
    QJsonArray envelopes = o.value(QStringLiteral("envelopes")).toArray();
    if (!envelopes.isEmpty())
        envelopes.removeFirst();
    if (!points.isEmpty() || !m_envelopeName->text().trimmed().isEmpty())
        envelopes.prepend(QJsonObject{{QStringLiteral("name"), m_envelopeName->text().trimmed()},
                                      {QStringLiteral("axis"), m_axis->currentText()},
                                      {QStringLiteral("points"), points}});
    o.insert(QStringLiteral("envelopes"), envelopes);
    // The single figures into their parts; an empty cell leaves the key out.
    for (const char* part : {"fuel", "descent", "weights"})
        parts.insert(QLatin1String(part), o.value(QLatin1String(part)).toObject());
    for (int r = 0; r < m_figures->rowCount(); ++r) {
        const Figure& f = kFigures[r];
        const QString key = QLatin1String(f.key), part = QLatin1String(f.part);
        QJsonObject target = part.isEmpty() ? o : parts.value(part).toObject();
        target.remove(key);
        if (!cellText(m_figures, r, 1).isEmpty()) {
            const auto value = cellNumber(m_figures, r, 1, error);
            if (value)
                target.insert(key, *value);
        }
        if (part.isEmpty())
            o = target;
        else
            parts.insert(part, target);
    }
    const QJsonObject rate = parts.value(QStringLiteral("climbRate")).toObject();
    if (climb.isEmpty())
        parts.insert(QStringLiteral("climb"), rate);
    for (const char* part : {"fuel", "descent", "weights", "climb"})
        o.insert(QLatin1String(part), parts.value(QLatin1String(part)));
    return o;
}

ProfileRead AircraftEditor::profile() const {
    QString error;
    const QJsonObject o = json(&error);
    if (!error.isEmpty()) {
        ProfileRead out;
        out.error = error;
        return out;
    }
    return profileOf(o);
}

bool AircraftEditor::saveTo(const QString& path) {
    const ProfileRead read = profile();
    if (!read.profile) {
        message(QStringLiteral("The profile cannot be saved: %1.").arg(read.error));
        return false;
    }
    core::makeParentFolder(QFile::encodeName(path).toStdString()); // aircraft/ on first use
    if (!dialogs::writeOutput(this, path, profileJson(*read.profile), "aircraft profile"))
        return false;
    m_loaded = *read.profile;
    emit saved();
    return true;
}

bool AircraftEditor::open(const QString& path) {
    const ProfileRead read = readProfileFile(path);
    if (!read.profile) {
        message(
            QStringLiteral("The aircraft profile %1 cannot be read: %2.").arg(path, read.error));
        return false;
    }
    setProfile(*read.profile);
    return true;
}

void AircraftEditor::message(const QString& text) {
    platform::showMessage(this, text);
}

} // namespace plan
