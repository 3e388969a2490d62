#pragma once
// The command line, read before any window exists, so that --version and
// --help work without a display.

#include <QStringList>

#include <optional>

namespace app {

// Reads the arguments (program name first). A value means the program ends
// here with that exit code, having printed what was asked: 0 after --version
// or --help, 2 after an unknown option or an unexpected argument. No value:
// go on and open the leg dialog. --import-airports, --import-navaids,
// --import-runways and --import-frequencies import an OurAirports CSV into the
// navigation database, --import-airports-fly into the airport file, and end
// (0 done, 1 the CSV or the database or file failed, 2 a bad option); --find
// prints the best matches of the navigation database. Qt's own options (-platform, -style, ...)
// are let through for QApplication.
// A plan file named alone (skyvane PLANFILE) goes to planFile, to be opened.
std::optional<int> handleCommandLine(const QStringList& arguments, QString* planFile = nullptr);

} // namespace app
