#pragma once

#include "RecordCells.h"
#include "RecordSet.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The records of the table as typed values, built once from the cell texts (which stay the
// one store). Readers that need numbers and times read this; the cells keep the texts for
// whatever does not convert.
struct TypedRecord {
    int row = 0;               // grid row of the record
    std::optional<int> record; // record number, when its cell holds one
    // Date and time of the record on the issue date's year rule, read as wall-clock time
    // (held as UTC, so intervals have no daylight-saving jumps); invalid when the cells or the
    // issue date do not give one.
    QDateTime time;
    std::optional<RecordCells::CellNumber> value; // nullopt: the value cell is no number
};

struct MeasurementRecords {
    std::optional<int> number; // from the separator row; nullopt before the first one
    int separatorRow = -1;     // -1: records before any separator row
    QList<TypedRecord> records;
};

struct RecordView {
    // What the cells alone do not say.
    struct Context {
        QString issueDate;       // dd/mm/yyyy: gives the records their year
        bool monthFirst = false; // date cells are "mm/dd" (written by the English interface)
        QChar decimalSeparator = u'.';
        QString unit; // unit text of the values

        bool operator==(const Context&) const = default;
    };

    QString unit; // trimmed
    QList<MeasurementRecords> measurements;

    // Every record row of the table (separator rows and blank rows are none), measurement by
    // measurement in table order.
    static RecordView build(const RecordSet& table, const Context& context);

    // The record at a grid row, or nullptr.
    const TypedRecord* atRow(int row) const;
    int recordCount() const;
};

// Keeps the view of the table it was last built from; builds again only when the table or
// the context changed.
class RecordViewCache {
public:
    const RecordView& get(const RecordSet& table, const RecordView::Context& context);

private:
    const RecordSet* table_ = nullptr;
    quint64 revision_ = 0;
    RecordView::Context context_;
    std::optional<RecordView> view_;
};
