#pragma once
// What the command line prints: text in the terminal's encoding, at once.

#include <QString>

#include <cstdio>

namespace app {

inline void say(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace app
