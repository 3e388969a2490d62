#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/WidgetFactory.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>

#include <algorithm>

namespace platform {
namespace {
const char* const kDefaultMark = "defaultMark";
} // namespace

Dialog::Dialog(int templateId, QWidget* parent) : QDialog(parent) {
    build(loadDialogTemplate(templateId));
}

Dialog::~Dialog() = default;

void Dialog::build(const DialogTemplate& t) {
    ControlHooks hooks;
    hooks.clicked = [this](int id) { command(id); };
    hooks.markDefault = [this](QPushButton* button) { setDefaultMark(button, true); };
    m_items = createControls(*this, t, hooks);
    m_built = !t.controls.empty();
    // The pre-filter sees the input of the dialog and every control, modal or
    // modeless.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

QWidget* Dialog::item(int id) const {
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

int Dialog::runModal() {
    m_windowExists = true;
    if (initialise())
        focusFirstTabStop();
    const int result = exec();
    m_windowExists = false;
    return result;
}

bool Dialog::createModeless(QWidget* parent) {
    if (!m_built)
        return false;
    setParent(parent, windowFlags());
    setModal(false);
    m_windowExists = true;
    if (initialise())
        focusFirstTabStop();
    show();
    return true;
}

void Dialog::destroyWindow() {
    for (auto& [id, timer] : m_timers)
        timer.stop();
    m_windowExists = false;
    hide();
}

void Dialog::endDialog(int result) {
    if (m_ending)
        return;
    m_ending = true;
    QDialog::done(result);
    m_ending = false;
}

void Dialog::done(int result) {
    // Closing from outside (the window manager, QDialog internals) goes
    // through the commands, so that every way out is the dialog's own.
    if (m_ending) {
        QDialog::done(result);
        return;
    }
    if (result == Accepted)
        okCommand();
    else
        cancelCommand();
}

void Dialog::accept() {
    okCommand();
}
void Dialog::reject() {
    cancelCommand();
}

bool Dialog::exchangeData(bool fromControls) {
    DataExchange dx(*this, fromControls);
    exchange(dx);
    return !dx.failed();
}

void Dialog::exchange(DataExchange&) {}

bool Dialog::initialise() {
    exchangeData(false);
    return true;
}

void Dialog::okCommand() {
    if (exchangeData(true))
        endDialog(Accepted);
}

void Dialog::cancelCommand() {
    endDialog(Rejected);
}

void Dialog::windowTimer(int) {}

bool Dialog::preTranslate(QObject*, QEvent*) {
    return false;
}

void Dialog::onCommand(int id, std::function<void()> handler) {
    m_commands[id] = std::move(handler);
}

void Dialog::command(int id) {
    const auto it = m_commands.find(id);
    if (it != m_commands.end())
        it->second();
    else if (id == kIdOk)
        okCommand();
    else if (id == kIdCancel)
        cancelCommand();
}

void Dialog::setDefaultMark(QPushButton* button, bool marked) {
    if (!button)
        return;
    // Shown as a bold caption; each button keeps its own mark.
    button->setProperty(kDefaultMark, marked);
    QFont f = button->font();
    f.setBold(marked);
    button->setFont(f);
    if (marked) {
        m_enterButton = button;
        // Qt's default button is what assistive technology announces; only
        // the button Enter activates carries it.
        button->setDefault(true);
    }
}

bool Dialog::hasDefaultMark(const QPushButton* button) {
    return button && button->property(kDefaultMark).toBool();
}

void Dialog::startWindowTimer(int id, int milliseconds) {
    m_timers[id].start(milliseconds, this);
}

void Dialog::timerEvent(QTimerEvent* event) {
    for (auto& [id, timer] : m_timers) {
        if (timer.timerId() == event->timerId()) {
            windowTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (preTranslate(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused && focused->isEnabled())
                focused->click();
            else if (m_enterButton && m_enterButton->isEnabled())
                m_enterButton->click();
            else
                okCommand();
            return;
        }
        case Qt::Key_Escape:
            if (m_escapeCancels)
                cancelCommand();
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

void Dialog::focusFirstTabStop() {
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Dialog::centerOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

void Dialog::centerOverParent() {
    if (QWidget* p = parentWidget()) {
        QRect r = frameGeometry();
        r.moveCenter(p->frameGeometry().center());
        move(r.topLeft());
    }
}

} // namespace platform
