#pragma once
// The plan's file: where the plan on show is kept, whether it has changes
// not saved, opening (a plan file, or a GPX or FPL route) and saving, the
// questions before a plan with changes is replaced, and the recent files.

#include "plan/FlightPlan.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;
namespace core {
class Preferences;
}

namespace plan {

class PlanEditor;

class PlanDocument : public QObject {
    Q_OBJECT
public:
    // window: where questions and messages are shown. Both must outlive the
    // document.
    // preferences: where the recent files are kept.
    PlanDocument(PlanEditor& editor, core::Preferences& preferences, QWidget* window);

    // Empty for a new plan (or one made from a route).
    const QString& path() const { return m_path; }
    // "trip.skyplan *": the file's name, or "New plan", marked when unsaved.
    QString title() const;

    // A plan file replaces the plan (asking first about unsaved changes); a
    // route replaces the waypoints as one undo step in a new plan without a
    // file. On failure says why and changes nothing.
    bool open(const QString& path);
    bool save();      // to its file, or asking for one the first time
    bool saveAsked(); // asks where
    bool saveAs(const QString& path);
    // Before the plan on show is replaced: true when it is saved, or the
    // pilot saves or gives up its changes when asked.
    bool okToReplace();

    // The last eight plan files opened or saved, most recent first.
    QStringList recentFiles() const;

    // What completes the waypoints of a file as it is opened (the fields'
    // elevations from the navigation database).
    void setCompleteWaypoints(std::function<void(std::vector<Waypoint>&)> complete) {
        m_complete = std::move(complete);
    }

signals:
    // The file or its saved state changed: the title to show anew.
    void titleChanged();
    void recentChanged();

private:
    bool openRoute(const QString& path, const std::string& bytes);
    void remember(const QString& path);

    PlanEditor& m_editor;
    core::Preferences& m_preferences;
    QWidget* m_window;
    QString m_path;
    QString m_suggestedPath; // where Save asks first, for a plan made from a route
    std::function<void(std::vector<Waypoint>&)> m_complete;
};

} // namespace plan
