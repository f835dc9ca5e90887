#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <array>

// The record table: row 0 is the header row, the other rows hold four fixed-width cell
// texts each (record number, date, time, value). The texts are the only store of the
// records. As a model it shows row 0 as the horizontal header and the rows after it as data.
class RecordSet : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    using Row = std::array<QString, kColumns>;

    explicit RecordSet(QObject* parent = nullptr);

    // Table access in grid rows (0 = header).
    int rowCountTotal() const { return int(rows_.size()); }
    const QString& cell(int row, int column) const { return rows_.at(row).at(column); }
    const Row& row(int r) const { return rows_.at(r); }
    void setCell(int row, int column, const QString& text);
    void setRow(int r, const Row& cells);
    // Grows or cuts the table to n rows (at least 1); new rows are empty.
    void setRowCountTotal(int n);
    // Empties every cell of rows 1 and below; the header row stays.
    void clearBody();
    // The rows from firstRow (at least 1) on become `rows`; the rows before it stay, padded
    // with empty rows up to firstRow. One model reset, so thousands of rows cost no more
    // signals than one.
    void replaceRowsFrom(int firstRow, QList<Row> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<Row> rows_;
};
