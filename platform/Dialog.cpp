#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/Resources.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QValidator>

#include <algorithm>

namespace platform {
namespace {

const char* const kDefaultMark = "defaultMark";
const char* const kSorted = "sortedList";
const char* const kUpperCase = "upperCaseList";

// Keeps the text of an upper-case combo box in upper case as it is typed.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// Enter in an editable combo box would make the box select the entry its text
// matches, so a typed identifier would silently become a pick. The key goes to
// the dialog instead, as it does from an edit field.
class EnterToDialog : public QObject {
public:
    EnterToDialog(QWidget* dialog, QObject* parent) : QObject(parent), m_dialog(dialog) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        QCoreApplication::sendEvent(m_dialog, event);
        return true;
    }

private:
    QWidget* m_dialog;
};

QString withoutTrailingMark(QString text) {
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('-')))
        text.chop(1);
    return text.trimmed();
}

} // namespace

Dialog::Dialog(int templateId, QWidget* parent) : QDialog(parent) {
    build(loadDialogTemplate(templateId));
}

Dialog::~Dialog() = default;

void Dialog::build(const DialogTemplate& t) {
    setWindowTitle(t.caption);
    setFixedSize(dialogUnitsToPixels(t.size));
    QFont f = font();
    f.setPixelSize(std::max(9, static_cast<int>(10 * dialogScale())));
    setFont(f);
    std::vector<std::pair<QLabel*, int>> buddies;
    std::vector<QWidget*> behind;
    for (const ControlTemplate& c : t.controls) {
        QWidget* w = nullptr;
        const QString kind = c.kind;
        if (kind == QLatin1String("label")) {
            auto* label = new QLabel(c.text, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (c.buddy != kNoId)
                buddies.emplace_back(label, c.buddy);
            w = label;
        } else if (kind == QLatin1String("edit")) {
            if (c.styles.contains(QLatin1String("multiline"))) {
                auto* edit = new QPlainTextEdit(this);
                edit->setReadOnly(c.styles.contains(QLatin1String("readonly")));
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setTabChangesFocus(true);
                w = edit;
            } else {
                auto* edit = new QLineEdit(this);
                edit->setReadOnly(c.styles.contains(QLatin1String("readonly")));
                w = edit;
            }
        } else if (kind == QLatin1String("button")) {
            auto* button = new QPushButton(c.text, this);
            button->setAutoDefault(false);
            button->setDefault(false);
            const int id = c.id;
            connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
            if (c.styles.contains(QLatin1String("default")))
                setDefaultMark(button, true);
            w = button;
        } else if (kind == QLatin1String("timepicker")) {
            auto* picker = new QDateTimeEdit(QDateTime::currentDateTime(), this);
            picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            picker->setCalendarPopup(false);
            picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            w = picker;
        } else if (kind == QLatin1String("combo")) {
            auto* box = new QComboBox(this);
            const bool editable = c.styles.contains(QLatin1String("dropdown"));
            box->setEditable(editable);
            box->setProperty(kSorted, c.styles.contains(QLatin1String("sorted")));
            box->setProperty(kUpperCase, c.styles.contains(QLatin1String("uppercase")));
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->setMaxVisibleItems(std::max(1, c.rect.height() / 8));
            if (editable) {
                box->setInsertPolicy(QComboBox::NoInsert);
                box->setCompleter(nullptr);
                box->lineEdit()->installEventFilter(new EnterToDialog(this, box));
                if (c.styles.contains(QLatin1String("uppercase")))
                    box->setValidator(new UpperCaseValidator(box));
            }
            box->setCurrentIndex(-1);
            w = box;
        } else if (kind == QLatin1String("groupbox")) {
            w = new QGroupBox(c.text, this);
            behind.push_back(w);
        } else if (kind == QLatin1String("picture") || kind == QLatin1String("icon")) {
            auto* picture = new QLabel(this);
            const QRect r = dialogUnitsToPixels(c.rect);
            const QPixmap image = loadImage(c.text);
            picture->setPixmap(
                kind == QLatin1String("icon")
                    ? image
                    : image.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            picture->setAlignment(kind == QLatin1String("icon") ? Qt::AlignLeft | Qt::AlignTop
                                                                : Qt::AlignCenter);
            w = picture;
        }
        if (!w)
            continue;
        if (c.rect.isValid()) {
            // Combo boxes' template heights include their dropped-down list.
            QRect r = dialogUnitsToPixels(c.rect);
            if (kind == QLatin1String("combo"))
                r.setHeight(dialogUnitsToPixels(QRect(0, 0, 1, 12)).height());
            w->setGeometry(r);
        }
        if (!c.name.isEmpty())
            w->setAccessibleName(c.name);
        else if (kind == QLatin1String("button"))
            w->setAccessibleName(c.text);
        if (kind == QLatin1String("combo"))
            w->setAccessibleDescription(c.name);
        if (c.id != kNoId)
            m_items[c.id] = w;
        w->show();
    }
    for (const auto& [label, id] : buddies) {
        if (QWidget* target = item(id)) {
            label->setBuddy(target);
            if (target->accessibleName().isEmpty())
                target->setAccessibleName(withoutTrailingMark(label->text()));
        }
    }
    for (QWidget* w : behind)
        w->lower();
    m_built = !t.controls.empty();
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
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
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

void Dialog::stopWindowTimer(int id) {
    const auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second.stop();
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

void addComboItems(QComboBox* box, const QStringList& items) {
    QStringList all;
    all.reserve(box->count() + items.size());
    for (int i = 0; i < box->count(); ++i)
        all << box->itemText(i);
    const bool upper = box->property(kUpperCase).toBool();
    for (const QString& s : items)
        all << (upper ? s.toUpper() : s);
    if (box->property(kSorted).toBool()) {
        std::stable_sort(all.begin(), all.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    }
    const QString edit = box->isEditable() ? box->currentText() : QString();
    box->clear();
    box->addItems(all);
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->setEditText(edit);
}

int findComboItem(const QComboBox* box, const QString& text) {
    if (text.isEmpty())
        return -1;
    return box->findText(text, Qt::MatchFixedString);
}

} // namespace platform

namespace platform {
namespace {
QPointer<QWidget> g_mainWindow;
}
void setMainWindow(QWidget* window) {
    g_mainWindow = window;
}
QWidget* mainWindow() {
    return g_mainWindow;
}
} // namespace platform
