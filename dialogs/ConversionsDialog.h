#pragma once
// "Conversions": five pairs of fields that convert into each other as the
// pilot types; entering a field empties it. Abacus starts a calculator.

#include "dialogs/Conversions.h"
#include "platform/Dialog.h"

class CConversionsDialog : public platform::Dialog {
    Q_OBJECT
public:
    explicit CConversionsDialog(QWidget* parent = nullptr);

    void OnAbacus();

    // True when no change handler is part-way through writing a partner.
    static bool guardFlagsClear();
    // The calculators tried by Abacus, in order.
    static QStringList calculatorPrograms();

protected:
    void cancelCommand() override { OnCancel(); }
    bool preTranslate(QObject* target, QEvent* event) override;

private:
    void OnCancel();
    void onChange(int field);
    void onFocus(int field);
};
