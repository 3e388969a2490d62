#pragma once
// The legs of a trip or a plan as a table for the windows: the columns one
// output shows (navlog/LegColumns.h), a row per leg and, for the nav log, the
// totals row. Marked rows (below the reserve, or a planned leg with a
// problem) are shaded. No widgets: a view shows it.

#include "navlog/LegColumns.h"

#include <QAbstractTableModel>
#include <QColor>

namespace navlog {

class LegTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // withTotals: a last row with the totals under their columns.
    LegTableModel(Output output, bool withTotals, QObject* parent = nullptr);

    // Shows these legs, marked by the reserve (a planned leg by its problem).
    void setTrip(const Trip& trip, int reserveMin);
    // The zone the times are in, named in their columns' headings ("ETA
    // UTC"); empty (the nav log's) names none.
    void setTimeZone(const QString& zone);
    // The common case while flying the leg dialog: one more leg, one more
    // row (the totals follow it).
    void appendLeg(const LegFigures& leg);
    void clear();
    const Trip& trip() const { return m_trip; }
    const Totals& totals() const { return m_totals; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString m_timeZone;
    bool marked(const LegFigures& leg) const;
    QVariant cellData(const LegFigures& leg, int row, const LegColumn& column, int role) const;

    Output m_output;
    bool m_withTotals;
    std::vector<const LegColumn*> m_columns;
    Trip m_trip;
    int m_reserveMin = 0;
    Totals m_totals;
};

} // namespace navlog
