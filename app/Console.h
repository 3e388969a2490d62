#pragma once
// What the command line prints: text in the terminal's encoding, at once.

#include <QCoreApplication>
#include <QString>

#include <cstdio>

namespace app {

inline void say(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// A bad option: said with the way to the help, exit code 2.
inline int refuse(const QString& text) {
    say(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                    .arg(QCoreApplication::applicationName(), text));
    return 2;
}

} // namespace app
