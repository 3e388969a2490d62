#include "plan/PlanDocument.h"

#include "core/Preferences.h"
#include "dialogs/OutputFile.h"
#include "plan/PlanEditor.h"
#include "plan/PlanFile.h"
#include "plan/RouteExchange.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUndoStack>
#include <QWidget>

namespace plan {
namespace {

constexpr int kRecentCount = 8;

} // namespace

PlanDocument::PlanDocument(PlanEditor& editor, core::Preferences& preferences, QWidget* window)
    : QObject(window), m_editor(editor), m_preferences(preferences), m_window(window) {
    connect(m_editor.undoStack(), &QUndoStack::cleanChanged, this, &PlanDocument::titleChanged);
}

QString PlanDocument::title() const {
    const QString name =
        m_path.isEmpty() ? QStringLiteral("New plan") : QFileInfo(m_path).fileName();
    return name + (m_editor.undoStack()->isClean() ? QString() : QStringLiteral(" *"));
}

bool PlanDocument::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform::showMessage(m_window,
                              QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (const QString big = routeFileSizeProblem(file.size()); !big.isEmpty()) {
        platform::showMessage(
            m_window,
            QStringLiteral("%1 cannot be opened: %2.").arg(QFileInfo(path).fileName(), big));
        return false;
    }
    const std::string bytes = file.readAll().toStdString();
    if (formatOf(bytes) != RouteFormat::Plan)
        return openRoute(path, bytes);
    PlanRead read = readPlan(bytes);
    if (!read.plan) {
        platform::showMessage(
            m_window,
            QStringLiteral("%1 cannot be opened: %2.").arg(QFileInfo(path).fileName(), read.error));
        return false;
    }
    if (!okToReplace())
        return false;
    m_path = path;
    if (m_complete)
        m_complete(read.plan->waypoints);
    m_editor.replace(*read.plan);
    emit titleChanged();
    remember(path);
    return true;
}

bool PlanDocument::openRoute(const QString& path, const std::string& bytes) {
    // A route from another planner or a device: its waypoints replace the
    // route as one change that undo takes back. It makes a new plan, without
    // a file: a plan file of one route must never be saved over with
    // another route, and the route's own file is not a plan.
    const QFileInfo info(path);
    const RouteRead route = readRoute(bytes);
    if (!route.waypoints) {
        platform::showMessage(
            m_window, QStringLiteral("%1 cannot be opened: %2.").arg(info.fileName(), route.error));
        return false;
    }
    if (!m_path.isEmpty() && !okToReplace())
        return false;
    m_path.clear();
    m_suggestedPath = info.dir().filePath(info.completeBaseName() + ".skyplan");
    std::vector<Waypoint> waypoints = *route.waypoints;
    if (m_complete)
        m_complete(waypoints);
    m_editor.change(QStringLiteral("Open %1").arg(info.fileName()),
                    [&](FlightPlan& p) { p.waypoints = waypoints; });
    emit titleChanged();
    if (!route.note.isEmpty())
        platform::showMessage(m_window, route.note);
    return true;
}

bool PlanDocument::save() {
    return m_path.isEmpty() ? saveAsked() : saveAs(m_path);
}

bool PlanDocument::saveAsked() {
    const QString path = dialogs::askSavePath(m_window, QStringLiteral("Save flight plan"),
                                              QStringLiteral("Skyvane plans (*.skyplan)"),
                                              m_path.isEmpty() ? m_suggestedPath : m_path);
    if (path.isEmpty())
        return false;
    return saveAs(path.endsWith(QLatin1String(".skyplan")) ? path : path + ".skyplan");
}

bool PlanDocument::saveAs(const QString& path) {
    if (!dialogs::writeOutput(m_window, path, planJson(m_editor.plan()), "plan"))
        return false;
    m_path = path;
    m_editor.undoStack()->setClean();
    emit titleChanged();
    remember(path);
    return true;
}

bool PlanDocument::okToReplace() {
    if (m_editor.undoStack()->isClean())
        return true;
    // The question names the file Save would write, or says that Save asks
    // for one.
    const QString question =
        m_path.isEmpty()
            ? QStringLiteral("The new plan has changes that are not saved. Save them in a new "
                             "file?")
            : QStringLiteral("The plan %1 has changes that are not saved. Save them to %1?")
                  .arg(QDir::toNativeSeparators(m_path));
    const auto answer = QMessageBox::question(
        m_window, QStringLiteral("Skyvane flight plan"), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
}

QStringList PlanDocument::recentFiles() const {
    return m_preferences.recentPlans();
}

void PlanDocument::remember(const QString& path) {
    QStringList recent = recentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    m_preferences.setRecentPlans(recent.mid(0, kRecentCount));
    emit recentChanged();
}

} // namespace plan
