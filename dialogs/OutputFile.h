#pragma once
// Where the windows' exports go: the save dialog every window asks with, and
// the safe write that says what failed.

#include <QString>

#include <string>

class QWidget;

namespace dialogs {

// Asks where to save. filters as Qt writes them ("PDF (*.pdf)", several
// separated by ";;"); where the pilot types a name without a suffix, the
// chosen filter's is added. suggested: a file name to start from, or empty.
// Empty when the pilot cancels.
QString askSavePath(QWidget* parent, const QString& caption, const QString& filters,
                    const QString& suggested = QString());

// Writes the bytes safely (core::writeFileSafely); where that fails, says so
// in the program's words for "<what> file" and returns false.
bool writeOutput(QWidget* parent, const QString& path, const std::string& bytes, const char* what);

} // namespace dialogs
