#pragma once
// A line edit that offers the navigation database's best matches as the
// pilot types: a list under it, in the database's own ranking, wide enough
// for a name and its town. Only a choice from the list is a pick; what is
// typed stays the pilot's text.

#include "navdb/NavDatabase.h"

#include <QObject>

#include <vector>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace navdb {

class PlaceFinder : public QObject {
    Q_OBJECT
public:
    // Belongs to the edit; data must outlive it.
    PlaceFinder(QLineEdit* edit, const NavData& data);

    // The list is open (Enter then picks from it).
    bool listShown() const;

signals:
    void chosen(const navdb::Place& place);

private:
    void offer(const QString& text);

    const NavData& m_data;
    QStringListModel* m_model;
    QCompleter* m_completer;
    std::vector<Place> m_offered;
};

} // namespace navdb
