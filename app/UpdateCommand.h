#pragma once
// skyvane --update-navdata [BASE-URL]: OurAirports' four files downloaded
// and imported into the navigation database, all or nothing, with the
// progress on standard error.

#include <QString>

#include <string>

namespace app {

// Exit code 0 when updated; 1 (said why, the database as it was) when not.
int runUpdateCommand(const std::string& databasePath, const QString& baseUrl);

} // namespace app
