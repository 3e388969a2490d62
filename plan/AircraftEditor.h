#pragma once
// The aircraft profile editor: a profile's names and units, its single
// figures, and its rows (cruise, climb table, stations, the first envelope's
// points) in tables with rows added and removed. What it holds is checked
// by the profile file's own reader before it is saved, and what is wrong is
// said with its key; it is written safely, never over a file unasked.

#include "plan/AircraftProfile.h"

#include <QWidget>

#include <map>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace plan {

class AircraftEditor : public QWidget {
    Q_OBJECT
public:
    // folder: where Save as… offers to put a new profile (the user's
    // "aircraft/" folder).
    explicit AircraftEditor(const QString& folder, QWidget* parent = nullptr);

    void setProfile(const AircraftProfile& profile);
    // The profile the fields describe, or none and why (as the file's reader
    // would say it).
    ProfileRead profile() const;
    // Writes it to path; false after saying why.
    bool saveTo(const QString& path);
    bool open(const QString& path);

    QTableWidget* table(const QString& accessibleName) const;

signals:
    void saved();

private:
    QWidget* rowsBox(const QString& name, const QStringList& headings);
    QJsonObject json(QString* error) const;
    void message(const QString& text);

    QString m_folder;
    QLineEdit *m_registration = nullptr, *m_type = nullptr, *m_note = nullptr,
              *m_envelopeName = nullptr;
    QComboBox *m_weightUnit = nullptr, *m_armUnit = nullptr, *m_axis = nullptr;
    QTableWidget* m_figures = nullptr;
    std::map<QString, QTableWidget*> m_tables;
    AircraftProfile m_loaded; // what the editor does not show is kept from it
};

} // namespace plan
