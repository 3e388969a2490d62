#include "plan/PlanPanels.h"

#include "core/Limits.h"
#include "core/Text.h"
#include "plan/PlanEditor.h"
#include "plan/TypedFields.h"
#include "plan/WeightBalance.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeEdit>
#include <QUndoStack>
#include <QVBoxLayout>

#include <functional>
#include <tuple>

namespace plan {
namespace {

namespace limits = core::limits;

// A figure typed with a decimal comma ("8,5") is the 8.5 it means, whatever
// the desktop's language: the point is the decimal mark here, a comma reads
// as one, and nothing is a thousands separator that would make it 85.
class DecimalSpinBox : public QDoubleSpinBox {
public:
    DecimalSpinBox() {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
        setLocale(c);
    }
    QValidator::State validate(QString& text, int& pos) const override {
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        return QDoubleSpinBox::validate(text, pos);
    }
    double valueFromText(const QString& text) const override {
        QString t = text;
        return QDoubleSpinBox::valueFromText(t.replace(QLatin1Char(','), QLatin1Char('.')));
    }
};

QDoubleSpinBox* spin(const core::Limit& limit, int decimals, const QString& name,
                     const QString& suffix) {
    auto* box = new DecimalSpinBox;
    box->setRange(limit.low, limit.high);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setAccessibleName(name);
    box->setKeyboardTracking(true);
    return box;
}

// Each typed field's changes merge into one undo step.
enum MergeIds {
    kTas = 1,
    kGph,
    kFuel,
    kTaxi,
    kReserve,
    kContingency,
    kExtra,
    kDeviation,
    kOff,
    kVariation
};

} // namespace

QPushButton* plainButton(const QString& text) {
    auto* b = new QPushButton(text);
    b->setAutoDefault(false);
    return b;
}

AircraftPanel::AircraftPanel(PlanEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Aircraft and fuel"), parent), m_editor(editor) {
    m_tas = spin(limits::kTasKt, 0, QStringLiteral("TAS"), QStringLiteral(" kt"));
    m_gph = spin(limits::kFuelFlowGph, 1, QStringLiteral("Fuel flow"), QStringLiteral(" gal/h"));
    m_fuelOnBoard =
        spin(limits::kFuelGal, 1, QStringLiteral("Fuel on board"), QStringLiteral(" gal"));
    m_taxi = spin(limits::kTaxiGal, 1, QStringLiteral("Taxi fuel"), QStringLiteral(" gal"));
    m_reserve =
        spin(limits::kReserveMin, 0, QStringLiteral("Final reserve"), QStringLiteral(" min"));
    m_contingency =
        spin(limits::kContingencyPercent, 0, QStringLiteral("Contingency"), QStringLiteral(" %"));
    m_extra = spin(limits::kExtraGal, 1, QStringLiteral("Extra fuel"), QStringLiteral(" gal"));
    m_deviation = spin(limits::kDeviationDeg, 0, QStringLiteral("Deviation"), QStringLiteral("°"));
    m_off = new QTimeEdit;
    m_off->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_off->setAccessibleName(QStringLiteral("Time off"));
    m_card = new QLineEdit;
    m_card->setAccessibleName(QStringLiteral("Deviation card"));
    m_card->setPlaceholderText(QStringLiteral("12 deviations, MH 000 to 330"));
    m_card->setToolTip(QStringLiteral("The compass card: the deviation at magnetic headings 000, "
                                      "030, ..., 330, separated by spaces; each leg takes it at "
                                      "its MH. Empty: the one deviation above for every leg."));
    m_useModel = new QCheckBox(QStringLiteral("Variation from the magnetic model"));
    m_variation = spin(limits::kVariationDeg, 0, QStringLiteral("Variation for every leg"),
                       QStringLiteral("°"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&TAS:"), m_tas);
    form->addRow(QStringLiteral("Fuel f&low:"), m_gph);
    form->addRow(QStringLiteral("&Fuel on board:"), m_fuelOnBoard);
    form->addRow(QStringLiteral("Ta&xi:"), m_taxi);
    form->addRow(QStringLiteral("Time &off:"), m_off);
    form->addRow(QStringLiteral("De&viation:"), m_deviation);
    form->addRow(QStringLiteral("Deviation &card:"), m_card);
    form->addRow(m_useModel);
    form->addRow(QStringLiteral("Variation:"), m_variation);
    form->addRow(QStringLiteral("Contin&gency:"), m_contingency);
    form->addRow(QStringLiteral("Final re&serve:"), m_reserve);
    form->addRow(QStringLiteral("E&xtra:"), m_extra);
    setLayout(form);
    connectFields();
    fill();
}

void AircraftPanel::connectFields() {
    using Set = std::function<void(FlightPlan&, double)>;
    const std::tuple<QDoubleSpinBox*, int, Set> spins[] = {
        {m_tas, kTas, [](FlightPlan& p, double v) { p.aircraft.tasKt = v; }},
        {m_gph, kGph, [](FlightPlan& p, double v) { p.aircraft.fuelFlowGph = v; }},
        {m_fuelOnBoard, kFuel, [](FlightPlan& p, double v) { p.aircraft.fuelGal = v; }},
        {m_taxi, kTaxi, [](FlightPlan& p, double v) { p.aircraft.taxiGal = v; }},
        {m_reserve, kReserve, [](FlightPlan& p, double v) { p.fuel.reserveMin = v; }},
        {m_contingency, kContingency,
         [](FlightPlan& p, double v) { p.fuel.contingencyPercent = v; }},
        {m_extra, kExtra, [](FlightPlan& p, double v) { p.fuel.extraGal = v; }},
        {m_deviation, kDeviation,
         [](FlightPlan& p, double v) {
             p.deviationDeg = v;
             p.deviationCard.reset();
         }},
        {m_variation, kVariation, [](FlightPlan& p, double v) {
             if (p.variationDeg)
                 p.variationDeg = v;
         }}};
    for (const auto& [box, id, set] : spins) {
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this, box = box, id = id, set = set](double v) {
                    if (!m_filling)
                        m_editor.change(
                            box->accessibleName(), [&](FlightPlan& p) { set(p, v); }, id);
                });
    }
    connect(m_off, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (!m_filling)
            m_editor.change(
                QStringLiteral("Time off"), [&](FlightPlan& p) { p.off.setTime(t); }, kOff);
    });
    connect(m_useModel, &QCheckBox::toggled, this, [this](bool model) {
        if (!m_filling)
            m_editor.change(QStringLiteral("Variation"), [&](FlightPlan& p) {
                if (model)
                    p.variationDeg.reset();
                else
                    p.variationDeg = m_variation->value();
            });
    });
    connect(m_card, &QLineEdit::editingFinished, this, &AircraftPanel::cardEdited);
    // More fuel than the aircraft's tanks hold is refused once typed: the
    // typing is undone as one step.
    connect(m_fuelOnBoard, &QDoubleSpinBox::editingFinished, this, [this] {
        const QString tanks = tanksProblem(m_editor.plan());
        if (m_filling || tanks.isEmpty())
            return;
        platform::showMessage(this, QStringLiteral("The fuel on board is refused: %1.").arg(tanks));
        m_editor.undoStack()->undo();
    });
}

void AircraftPanel::cardEdited() {
    if (m_filling)
        return;
    const auto card = readDeviationCard(m_card->text());
    if (!card) {
        platform::showMessage(this, kCardRefusal);
        fill();
        return;
    }
    // Compared as shown: leaving the field untouched is no change, even where
    // the card holds more digits than the field shows.
    if (deviationCardText(*card) != deviationCardText(m_editor.plan().deviationCard))
        m_editor.change(QStringLiteral("Deviation card"),
                        [&](FlightPlan& p) { p.deviationCard = *card; });
}

void AircraftPanel::fill() {
    const FlightPlan& plan = m_editor.plan();
    m_filling = true;
    // A field is set only where the plan differs: the one being typed into
    // keeps its text and cursor ("8," on the way to "8,5").
    auto set = [](QDoubleSpinBox* box, double value) {
        if (box->value() != value)
            box->setValue(value);
    };
    set(m_tas, plan.aircraft.tasKt);
    set(m_gph, plan.aircraft.fuelFlowGph);
    // With a profile each leg cruises at the profile's speed and fuel flow
    // for its altitude: these two are kept for a plan without one.
    const QString fromProfile =
        plan.profile ? QStringLiteral("The aircraft profile's cruise at each leg's altitude is "
                                      "flown instead.")
                     : QString();
    for (QDoubleSpinBox* box : {m_tas, m_gph}) {
        box->setEnabled(!plan.profile);
        box->setToolTip(fromProfile);
    }
    set(m_fuelOnBoard, plan.aircraft.fuelGal);
    set(m_taxi, plan.aircraft.taxiGal);
    set(m_reserve, plan.fuel.reserveMin);
    set(m_contingency, plan.fuel.contingencyPercent);
    set(m_extra, plan.fuel.extraGal);
    set(m_deviation, plan.deviationDeg);
    m_deviation->setEnabled(!plan.deviationCard);
    m_card->setText(deviationCardText(plan.deviationCard));
    if (m_off->time() != plan.off.time())
        m_off->setTime(plan.off.time());
    m_useModel->setChecked(!plan.variationDeg);
    m_variation->setEnabled(plan.variationDeg.has_value());
    if (plan.variationDeg)
        set(m_variation, *plan.variationDeg);
    m_filling = false;
}

WindsPanel::WindsPanel(PlanEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Winds aloft"), parent), m_editor(editor) {
    m_winds = new QTableWidget(0, 4);
    m_winds->setHorizontalHeaderLabels({QStringLiteral("Alt ft"), QStringLiteral("From °"),
                                        QStringLiteral("kt"), QStringLiteral("Temp °C")});
    m_winds->setAccessibleName(QStringLiteral("Winds aloft"));
    m_winds->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* addWind = plainButton(QStringLiteral("Add wind row"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_winds);
    layout->addWidget(addWind);
    // An edited cell becomes a change once its editor has let go of it.
    connect(m_winds, &QTableWidget::cellChanged, this, [this] {
        if (!m_filling)
            QMetaObject::invokeMethod(
                this, [this] { edited(); }, Qt::QueuedConnection);
    });
    connect(addWind, &QPushButton::clicked, &m_editor, &PlanEditor::addWindRow);
    fill();
}

void WindsPanel::fill() {
    const std::vector<WindRow>& rows = m_editor.plan().windsAloft;
    m_filling = true;
    m_winds->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < m_winds->rowCount(); ++r) {
        const WindRow& row = rows[static_cast<std::size_t>(r)];
        m_winds->setItem(r, 0, new QTableWidgetItem(core::numberText(row.altitudeFt)));
        m_winds->setItem(r, 1, new QTableWidgetItem(core::numberText(row.wind.directionDeg)));
        m_winds->setItem(r, 2, new QTableWidgetItem(core::numberText(row.wind.speedKt)));
        m_winds->setItem(r, 3,
                         new QTableWidgetItem(row.temperatureC ? core::numberText(*row.temperatureC)
                                                               : QString()));
    }
    m_filling = false;
}

void WindsPanel::edited() {
    if (m_filling)
        return;
    std::vector<WindRow> rows;
    for (int r = 0; r < m_winds->rowCount(); ++r) {
        auto text = [&](int c) {
            const QTableWidgetItem* item = m_winds->item(r, c);
            return item ? item->text() : QString();
        };
        const auto row = readWindRow(text(0), text(1), text(2), text(3));
        if (!row) {
            platform::showMessage(this, kWindRowRefusal);
            fill();
            return;
        }
        rows.push_back(*row);
    }
    m_editor.change(QStringLiteral("Change winds aloft"),
                    [&](FlightPlan& p) { p.windsAloft = rows; });
}

} // namespace plan
