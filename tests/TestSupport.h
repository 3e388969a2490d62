#pragma once
// Helpers shared by the dialog tests: recorded message boxes, field access
// and a way to act inside a modal dialog (and, through TestData.h, a private
// data directory).

#include "TestData.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

namespace testing {

// The program's data on the data places of the test (a DataDir), built as
// the application builds it for its windows.
inline std::unique_ptr<store::Services> services() {
    return std::make_unique<store::Services>(store::dataPlaces());
}

// Records every message box instead of showing it.
class Messages {
public:
    Messages() {
        platform::setMessageHook([this](const QString& text) { list << text; });
    }
    ~Messages() { platform::setMessageHook({}); }
    Messages(const Messages&) = delete;
    Messages& operator=(const Messages&) = delete;
    QString takeLast() { return list.isEmpty() ? QString() : list.takeLast(); }
    QStringList list;
};

inline QLineEdit* edit(const platform::Dialog& d, int id) {
    return d.itemAs<QLineEdit>(id);
}
inline QString text(const platform::Dialog& d, int id) {
    return edit(d, id)->text();
}
inline void setText(const platform::Dialog& d, int id, const QString& t) {
    edit(d, id)->setText(t);
}
inline void click(const platform::Dialog& d, int id) {
    d.itemAs<QPushButton>(id)->click();
}
inline QDateTimeEdit* picker(const platform::Dialog& d, int id) {
    return d.itemAs<QDateTimeEdit>(id);
}

// Runs `action` on the next modal dialog once it is up. The action must end it.
template <class DialogType> void whenModal(std::function<void(DialogType&)> action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<DialogType*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "expected modal dialog is not up");
        if (dialog)
            action(*dialog);
    });
}

// Answers the next question box with that button.
// asked, when given, receives the question's text.
inline void answer(QMessageBox::StandardButton button, QString* asked = nullptr) {
    QTimer::singleShot(0, [button, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY2(box, "no question was asked");
        if (asked)
            *asked = box ? box->text() : QString();
        if (box)
            box->button(button)->click();
    });
}

// Clicks the window's button of that text (with or without its & mark) and
// types the path into the file dialog it opens.
inline void saveThrough(QWidget* window, const QString& button, const QString& path) {
    whenModal<QFileDialog>([path](QFileDialog& d) {
        auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // Typed whole (key by key the completer's popup would take the Enter).
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QPushButton* found = nullptr;
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        if (b->text() == button || b->text().remove(QLatin1Char('&')) == button)
            found = b;
    }
    QVERIFY2(found, qPrintable(button));
    QTest::mouseClick(found, Qt::LeftButton);
}

// What a tool prints, or nothing when it fails.
inline QString runTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace testing
