#include "navlog/LegTableModel.h"

#include <QFont>

namespace navlog {
namespace {

const QColor kMarked(255, 205, 205);

} // namespace

LegTableModel::LegTableModel(Output output, bool withTotals, QObject* parent)
    : QAbstractTableModel(parent), m_output(output), m_withTotals(withTotals),
      m_columns(columnsOf(output)) {}

void LegTableModel::setTrip(const Trip& trip, int reserveMin) {
    beginResetModel();
    m_trip = trip;
    m_columns = columnsOf(m_output, isPhased(trip));
    m_reserveMin = reserveMin;
    m_totals = totalsOf(m_trip, m_reserveMin);
    endResetModel();
}

void LegTableModel::appendLeg(const LegFigures& leg) {
    if (m_trip.legs.empty()) { // the totals row comes with it
        Trip trip = m_trip;
        trip.legs.push_back(leg);
        setTrip(trip, m_reserveMin);
        return;
    }
    const int row = static_cast<int>(m_trip.legs.size());
    beginInsertRows({}, row, row);
    m_trip.legs.push_back(leg);
    m_totals = totalsOf(m_trip, m_reserveMin);
    endInsertRows();
    if (m_withTotals) {
        const int totalsRow = row + 1;
        emit dataChanged(index(totalsRow, 0), index(totalsRow, columnCount() - 1));
    }
}

void LegTableModel::clear() {
    setTrip(Trip{}, m_reserveMin);
}

int LegTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || m_trip.legs.empty())
        return 0;
    return static_cast<int>(m_trip.legs.size()) + (m_withTotals ? 1 : 0);
}

int LegTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

bool LegTableModel::marked(const LegFigures& leg) const {
    return leg.planned ? leg.flagged : belowReserve(leg, m_reserveMin);
}

QVariant LegTableModel::cellData(const LegFigures& leg, int row, const LegColumn& column,
                                 int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return column.cell({leg, row + 1, belowReserve(leg, m_reserveMin)}, m_output);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(
            (column.leftAligned ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return marked(leg) ? QVariant(kMarked) : QVariant();
    default:
        return {};
    }
}

QVariant LegTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount())
        return {};
    const LegColumn& column = *m_columns[static_cast<std::size_t>(index.column())];
    const auto row = static_cast<std::size_t>(index.row());
    if (row < m_trip.legs.size())
        return cellData(m_trip.legs[row], index.row(), column, role);
    if (!m_withTotals || row != m_trip.legs.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return column.totalCell(m_totals, m_output);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    default:
        return {};
    }
}

QVariant LegTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const LegColumn* column = m_columns[static_cast<std::size_t>(section)];
    const QString heading = QString::fromLatin1(column->heading(m_output));
    return column->time && !m_timeZone.isEmpty() ? heading + QLatin1Char(' ') + m_timeZone
                                                 : heading;
}

void LegTableModel::setTimeZone(const QString& zone) {
    if (zone == m_timeZone)
        return;
    m_timeZone = zone;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

} // namespace navlog
