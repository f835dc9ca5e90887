#include "RecordSet.h"

#include <QBrush>
#include <QColor>

RecordSet::RecordSet(QObject* parent) : QAbstractTableModel(parent) {
    rows_.resize(2);
}

void RecordSet::setCell(int row, int column, const QString& text) {
    ++revision_;
    rows_[row][column] = text;
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, column, column);
    else
        emit dataChanged(index(row - 1, column), index(row - 1, column));
}

void RecordSet::setRow(int r, const Row& cells) {
    ++revision_;
    rows_[r] = cells;
    if (r == 0)
        emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
    else
        emit dataChanged(index(r - 1, 0), index(r - 1, kColumns - 1));
}

void RecordSet::setRowCountTotal(int n) {
    n = std::max(n, 1);
    const int old = int(rows_.size());
    ++revision_;
    if (n > old) {
        beginInsertRows({}, old - 1, n - 2);
        rows_.resize(n);
        endInsertRows();
    } else if (n < old) {
        beginRemoveRows({}, n - 1, old - 2);
        rows_.resize(n);
        endRemoveRows();
    }
}

void RecordSet::clearBody() {
    ++revision_;
    for (qsizetype r = 1; r < rows_.size(); ++r)
        rows_[r] = Row{};
    if (rows_.size() > 1)
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 2, kColumns - 1));
}

void RecordSet::replaceRowsFrom(int firstRow, QList<Row> rows) {
    firstRow = std::max(firstRow, 1);
    ++revision_;
    beginResetModel();
    rows_.resize(firstRow);
    rows_.append(std::move(rows));
    endResetModel();
}

int RecordSet::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size()) - 1;
}

int RecordSet::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RecordSet::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    if (role == Qt::ForegroundRole) {
        if (index.column() != kColumns - 1 || row >= marks_.size())
            return {};
        switch (marks_.at(row)) {
        case Mark::Above:
            return QBrush(QColor(255, 0, 0));
        case Mark::Below:
            return QBrush(QColor(0, 0, 255));
        case Mark::None:
            break;
        }
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    return rows_.at(row).at(index.column());
}

void RecordSet::setValueMarks(QList<Mark> marksByRow) {
    if (marksByRow == marks_)
        return;
    marks_ = std::move(marksByRow);
    if (rows_.size() > 1)
        emit dataChanged(index(0, kColumns - 1), index(int(rows_.size()) - 2, kColumns - 1),
                         {Qt::ForegroundRole});
}

QVariant RecordSet::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumns)
        return {};
    return rows_.at(0).at(section);
}

Qt::ItemFlags RecordSet::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
