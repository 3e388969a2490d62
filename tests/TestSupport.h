#pragma once
// Helpers shared by the dialog tests: recorded message boxes, a private data
// directory, field access and a way to act inside a modal dialog.

#include "platform/Dialog.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <cstring>
#include <functional>

namespace testing {

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

// A fresh $XDG_DATA_HOME with an empty "skyvane" folder, or (false) one
// where that folder cannot be made: a plain file stands in its way. Nothing is
// installed along $XDG_DATA_DIRS unless a test puts it into installed().
class DataDir {
public:
    explicit DataDir(bool usable = true) {
        QDir(home.path()).mkpath(QStringLiteral("system"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/system")));
        if (usable) {
            qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
            QDir(home.path()).mkpath(QStringLiteral("skyvane"));
        } else {
            QFile blocker(home.path() + QStringLiteral("/blocked"));
            blocker.open(QIODevice::WriteOnly);
            qputenv("XDG_DATA_HOME", QFile::encodeName(blocker.fileName()));
        }
    }
    // Where a file installed with the program would stand.
    QString installed(const QString& file) const {
        QDir(home.path()).mkpath(QStringLiteral("system/skyvane"));
        return home.path() + QStringLiteral("/system/skyvane/") + file;
    }
    QString path(const QString& file) const {
        return home.path() + QStringLiteral("/skyvane/") + file;
    }
    void write(const QString& file, const QByteArray& bytes) const {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& file) const {
        QFile f(path(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& file) const { return QFile::exists(path(file)); }
    QTemporaryDir home;
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

// True when the C library's locale uses a decimal comma, as the
// comma-locale runs of the file tests ask for.
inline bool commaLocaleActive() {
    return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

// Fails a comma-locale run whose locale is not installed, rather than passing
// it silently.
inline void checkRequestedLocale() {
    if (qEnvironmentVariableIsSet("SKYVANE_EXPECT_COMMA_LOCALE"))
        QVERIFY2(commaLocaleActive(), "de_DE.UTF-8 locale is not installed");
}

} // namespace testing
