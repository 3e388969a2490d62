#include "platform/DataExchange.h"

#include "core/NumberText.h"
#include "core/Text.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace platform {
namespace {

QString fieldText(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->text();
    if (auto* box = qobject_cast<QComboBox*>(field))
        return box->currentText();
    if (auto* text = qobject_cast<QPlainTextEdit*>(field))
        return text->toPlainText();
    return {};
}

} // namespace

void setFieldText(QWidget* field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        if (edit->text() != text) {
            // A field remembers how far it was scrolled, and with a text no
            // wider than that scroll it shows the end, whatever the cursor:
            // painted empty once, it starts over from the left.
            if (edit->isVisible()) {
                const QSignalBlocker quiet(edit);
                edit->clear();
                edit->repaint();
            }
            edit->setText(text);
            edit->setCursorPosition(0);
        }
    } else if (auto* box = qobject_cast<QComboBox*>(field)) {
        if (box->isEditable()) {
            box->setEditText(text);
            box->lineEdit()->setCursorPosition(0);
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        plain->setPlainText(lines);
    }
}

void writeNumberField(QWidget* field, double value) {
    setFieldText(field, numberText(value));
}

QString numberText(double value) {
    return core::numberText(value);
}

DataExchange::DataExchange(Dialog& dialog, bool fromControls)
    : m_dialog(dialog), m_fromControls(fromControls) {}

bool DataExchange::readNumber(int id, double& value) {
    QWidget* field = m_dialog.item(id);
    const auto parsed = core::parseNumber(fieldText(field).toStdString());
    if (!parsed) {
        fail(field, QStringLiteral("Please enter a number."));
        return false;
    }
    value = *parsed;
    return true;
}

void DataExchange::number(int id, double& value) {
    if (m_failed)
        return;
    if (m_fromControls)
        readNumber(id, value);
    else
        setFieldText(m_dialog.item(id), numberText(value));
}

void DataExchange::number(int id, double& value, double minimum, double maximum) {
    if (m_failed)
        return;
    if (!m_fromControls) {
        setFieldText(m_dialog.item(id), numberText(value));
        return;
    }
    if (readNumber(id, value) && (value < minimum || value > maximum)) {
        fail(m_dialog.item(id), QStringLiteral("Please enter a number between %1 and %2.")
                                    .arg(numberText(minimum), numberText(maximum)));
    }
}

void DataExchange::text(int id, QString& value) {
    if (m_failed)
        return;
    if (m_fromControls)
        value = fieldText(m_dialog.item(id));
    else
        setFieldText(m_dialog.item(id), value);
}

void DataExchange::fail(QWidget* field, const QString& message) {
    m_failed = true;
    showMessage(&m_dialog, message);
    if (!field)
        return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit())
        box->lineEdit()->selectAll();
}

} // namespace platform
