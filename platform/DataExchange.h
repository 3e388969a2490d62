#pragma once
// One transfer between a dialog's members and its fields. A read converts
// field text to numbers and checks inclusive limits; it stops at the first bad
// field with a message, puts the focus on that field with its text selected
// and leaves the later members alone. A number outside its limits has been
// stored before the check; text that is not a number leaves its member.

#include <QString>

class QWidget;

namespace platform {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool fromControls);

    bool fromControls() const { return m_fromControls; }
    bool failed() const { return m_failed; }

    void number(int id, double& value);
    void number(int id, double& value, double minimum, double maximum);
    void text(int id, QString& value);

private:
    bool readNumber(int id, double& value);
    void fail(QWidget* field, const QString& message);

    Dialog& m_dialog;
    bool m_fromControls;
    bool m_failed = false;
};

// Field text for a number: general form, up to 15 significant digits.
QString numberText(double value);

// Writes text into a field as the program does: a text wider than the field
// shows its start, as on the device, not its end.
void setFieldText(QWidget* field, const QString& text);
// Writes one number into one field, the others left as they are.
void writeNumberField(QWidget* field, double value);

} // namespace platform
