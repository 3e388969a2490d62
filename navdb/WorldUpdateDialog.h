#pragma once
// The world data update with the pilot watching: a progress dialog naming the
// file being fetched, with a Cancel, and the outcome said at the end.

#include <QString>
#include <QUrl>

#include <string>

class QWidget;

namespace navdb {

// Runs the update of the database at path (its folder made when missing)
// from base, modal over parent, and says how it ended. True when updated.
bool updateWorldDataShown(QWidget* parent, const std::string& databasePath, const QUrl& base);

} // namespace navdb
