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
    // Counts every change of a cell or of the row count, so a view built from the cells
    // knows when it is stale.
    quint64 revision() const { return revision_; }

    // Value cells outside a limit show in colour: above red, below blue. Rows not listed
    // are unmarked; marks are no data and leave the revision alone.
    enum class Mark : qint8 { None, Below, Above };
    void setValueMarks(QList<Mark> marksByRow);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<Row> rows_;
    QList<Mark> marks_;
    quint64 revision_ = 0;
};
