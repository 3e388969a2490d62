#pragma once
// "Conversions": five pairs of fields that convert into each other as the
// pilot types; entering a field empties it. Abacus starts a calculator.

#include "dialogs/Conversions.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"

class QLineEdit;

class CConversionsDialog : public platform::Dialog {
    Q_OBJECT
public:
    explicit CConversionsDialog(QWidget* parent = nullptr);

    void OnAbacus();

    // True when no change handler is part-way through writing a partner.
    static bool guardFlagsClear();
    // The calculators tried by Abacus, in order.
    static QStringList calculatorPrograms();

    QLineEdit* m_editTemperature = nullptr;
    QLineEdit* m_editWeight = nullptr;
    QLineEdit* m_editDistance = nullptr;

protected:
    void exchange(platform::DataExchange& dx) override { DoDataExchange(dx); }
    void cancelCommand() override { OnCancel(); }
    bool preTranslate(QObject* target, QEvent* event) override;

private:
    void DoDataExchange(platform::DataExchange& dx);
    void OnCancel();
    void onChange(int field);
    void onFocus(int field);
};
