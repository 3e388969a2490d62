#pragma once
// Dialogs built from templates, in the manner of a handheld's dialog manager:
// controls found by id, commands by button id (1 is OK, 2 is Cancel), an
// explicit data exchange between members and fields, default-button marks
// that the program sets itself, window timers and a pre-filter for the input
// addressed to the dialog.

#include "platform/DialogTemplate.h"

#include <QBasicTimer>
#include <QDialog>
#include <QPointer>
#include <QPushButton>

#include <functional>
#include <map>

namespace platform {

class DataExchange;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(int templateId, QWidget* parent = nullptr);
    ~Dialog() override;

    // Initialises the dialog and runs it modally; returns the end result.
    int runModal();
    // Initialises the dialog and shows it without waiting, owned by parent
    // (or a window of its own). False if the template has no controls.
    bool createModeless(QWidget* parent);
    // Ends a modal run (or hides a modeless dialog) with that result.
    void endDialog(int result);
    // Hides a modeless dialog and stops its timers; windowExists() is then false.
    void destroyWindow();
    bool windowExists() const { return m_windowExists; }

    QWidget* item(int id) const;
    template <class T> T* itemAs(int id) const { return qobject_cast<T*>(item(id)); }

    // Moves members to fields (false) or fields to members with validation
    // (true). Returns false when a field failed validation.
    bool exchangeData(bool fromControls);

    // The default-push-button mark. Several buttons may carry it; Enter
    // activates the button that received it last (a focused button
    // activates itself).
    void setDefaultMark(QPushButton* button, bool marked);
    static bool hasDefaultMark(const QPushButton* button);

    // Window timers by id; the timer repeats until the window is destroyed.
    void startWindowTimer(int id, int milliseconds);

    // Whether Escape is the cancel command (the default). A main window that
    // would lose the pilot's work turns it off; its Quit button stays.
    void setEscapeCancels(bool cancels) { m_escapeCancels = cancels; }

    void centerOnScreen();
    void centerOverParent();

protected:
    virtual void exchange(DataExchange& dx);
    // Runs before the dialog is first shown. The base writes the members to
    // the fields. True: the first tab stop gets the focus.
    virtual bool initialise();
    // Command 1 (OK, Enter without a default button): the base reads the
    // fields and ends with Accepted when they are valid.
    virtual void okCommand();
    // Command 2 (Cancel, Escape, the window's close button): ends with Rejected.
    virtual void cancelCommand();
    virtual void windowTimer(int id);
    // Input addressed to the dialog or one of its controls, before delivery.
    // True consumes it.
    virtual bool preTranslate(QObject* target, QEvent* event);

    // Routes clicks of button id to the handler.
    void onCommand(int id, std::function<void()> handler);

    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void build(const DialogTemplate& t);
    void command(int id);
    void focusFirstTabStop();

    std::map<int, QWidget*> m_items;
    std::map<int, std::function<void()>> m_commands;
    std::map<int, QBasicTimer> m_timers;
    QPointer<QPushButton> m_enterButton;
    bool m_built = false;
    bool m_windowExists = false;
    bool m_ending = false;
    bool m_escapeCancels = true;
};

} // namespace platform
