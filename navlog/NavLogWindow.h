#pragma once
// The nav log window: the legs of a trip in a table with its totals, the
// trips before it, the fuel reserve, and CSV, print and PDF output. Modeless:
// it follows the leg dialog as legs are computed.

#include "kneeboard/Sheet.h"
#include "navlog/TripLog.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
namespace store {
class Services;
}

namespace navlog {

class LegTableModel;

class NavLogWindow : public QWidget {
    Q_OBJECT
public:
    // services: the trip log, the navigation data (for the page's airports)
    // and the preferences (the reserve).
    explicit NavLogWindow(store::Services& services, QWidget* parent = nullptr);

    // The log changed: show its most recent trip (a new row costs one row).
    void refresh();

    int reserveMinutes() const;
    // The trip on show, or null when the log has none.
    const Trip* shownTrip() const;

    QTableView* table() const { return m_table; }
    QComboBox* tripList() const { return m_trips; }
    QSpinBox* reserveBox() const { return m_reserve; }
    QLabel* summary() const { return m_summary; }

    // The table's column headings, leg rows first column "#".
    static QStringList columnHeadings();

private:
    void fillTripList();
    void showTrip(int index);
    void saveCsv();
    void print();
    void savePdf();
    // The trip for the kneeboard page, with what the navigation database
    // knows of its airports.
    kneeboard::Sheet kneeboardSheet(const Trip& trip) const;
    QString suggestedName(const QString& suffix) const;

    store::Services& m_services;
    TripLog& m_log;
    int m_shown = -1; // index into m_log.trips()
    QComboBox* m_trips = nullptr;
    QSpinBox* m_reserve = nullptr;
    LegTableModel* m_legs = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace navlog
