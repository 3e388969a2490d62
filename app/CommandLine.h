#pragma once
// The command line, read before any window exists, so that --version and
// --help work without a display.

#include <QStringList>

#include <optional>

namespace app {

// Reads the arguments (program name first). A value means the program ends
// here with that exit code, having printed what was asked: 0 after --version
// or --help, 2 after an unknown option or an unexpected argument. No value:
// go on and open the leg dialog. --import-airports imports an OurAirports CSV
// into the airport file and ends (0 done, 1 the CSV or the airport file
// failed, 2 a bad option). Qt's own options (-platform, -style, ...)
// are let through for QApplication.
std::optional<int> handleCommandLine(const QStringList& arguments);

} // namespace app
