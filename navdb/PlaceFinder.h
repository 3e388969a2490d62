#pragma once
// A line edit that offers the navigation database's best matches as the
// pilot types: a list under it, in the database's own ranking, wide enough
// for a name and its town. Only a choice from the list is a pick; what is
// typed stays the pilot's text.

#include "navdb/NavDatabase.h"

#include <QObject>

#include <optional>
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
    // Where the pilot is: equal matches nearest first from here.
    void setNear(const std::optional<core::GeoPoint>& near) { m_near = near; }
    // Opens the list for the text as it stands.
    void offerAgain();

signals:
    void chosen(const navdb::Place& place);

private:
    void offer(const QString& text);

    const NavData& m_data;
    QStringListModel* m_model;
    QCompleter* m_completer;
    std::vector<Place> m_offered;
    std::optional<core::GeoPoint> m_near;
    QLineEdit* m_edit;
};

} // namespace navdb
