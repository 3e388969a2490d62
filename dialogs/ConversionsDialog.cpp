#include "dialogs/ConversionsDialog.h"

#include "dialogs/ConversionsDialogIds.h"
#include "platform/DataExchange.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace {

using namespace ids::conversions;

struct Field {
    int id;
    int partner; // index into kFields
    conversions::Direction toPartner;
};

using conversions::Direction;
// Indexed by field; each names its partner and the conversion toward it.
constexpr Field kFields[] = {
    {SM, 3, Direction::MilesToKm},          // 0 statute miles
    {FT, 4, Direction::FeetToMetres},       // 1 feet
    {NM, 5, Direction::NmToMiles},          // 2 nautical miles
    {KM, 0, Direction::KmToMiles},          // 3 kilometres
    {M, 1, Direction::MetresToFeet},        // 4 metres
    {SM2, 2, Direction::MilesToNm},         // 5 statute miles
    {F, 7, Direction::FahrenheitToCelsius}, // 6 Fahrenheit
    {C, 6, Direction::CelsiusToFahrenheit}, // 7 Celsius
    {LB, 9, Direction::PoundsToKg},         // 8 pounds
    {KG, 8, Direction::KgToPounds},         // 9 kilograms
};
constexpr int kFieldCount = sizeof kFields / sizeof kFields[0];

// One per field, set only while its partner's handler writes into it, so the
// write does not convert back. Shared by all openings of the dialog.
unsigned char g_guard[kFieldCount] = {};

} // namespace

CConversionsDialog::CConversionsDialog(QWidget* parent) : platform::Dialog(kTemplate, parent) {
    for (int i = 0; i < kFieldCount; ++i) {
        if (auto* edit = itemAs<QLineEdit>(kFields[i].id)) {
            connect(edit, &QLineEdit::textChanged, this, [this, i] { onChange(i); });
        }
    }
    onCommand(ABACUS, [this] { OnAbacus(); });
}

void CConversionsDialog::OnCancel() {
    endDialog(QDialog::Rejected);
}

bool CConversionsDialog::guardFlagsClear() {
    for (unsigned char flag : g_guard) {
        if (flag)
            return false;
    }
    return true;
}

QStringList CConversionsDialog::calculatorPrograms() {
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"),       QStringLiteral("qalculate-gtk"),
            QStringLiteral("mate-calc"),        QStringLiteral("xcalc")};
}

void CConversionsDialog::onChange(int field) {
    const Field& f = kFields[field];
    if (!g_guard[field]) {
        auto* from = itemAs<QLineEdit>(f.id);
        const std::string result =
            conversions::convertText(f.toPartner, from->text().toStdString());
        g_guard[f.partner] = 1;
        platform::setFieldText(item(kFields[f.partner].id), QString::fromStdString(result));
    }
    g_guard[f.partner] = 0;
}

void CConversionsDialog::onFocus(int field) {
    auto* edit = itemAs<QLineEdit>(kFields[field].id);
    if (edit->text().isEmpty())
        onChange(field); // emptying an empty field is still a change of it
    else
        edit->clear();
}

bool CConversionsDialog::preTranslate(QObject* target, QEvent* event) {
    // The pilot moving to a field empties it; the focus coming back after a
    // context menu, a message box or another window does not.
    const auto reason = event->type() == QEvent::FocusIn
                            ? static_cast<QFocusEvent*>(event)->reason()
                            : Qt::OtherFocusReason;
    if (event->type() == QEvent::FocusIn && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason) {
        for (int i = 0; i < kFieldCount; ++i) {
            if (target == item(kFields[i].id))
                onFocus(i);
        }
    }
    return false;
}

void CConversionsDialog::OnAbacus() {
    if (!platform::startFirstProgram(calculatorPrograms()))
        platform::showMessage(this, QStringLiteral("Error running calc.exe!"));
}
