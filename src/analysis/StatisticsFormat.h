#pragma once

#include "Statistics.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Statistics as text: one row per figure with a column per measurement and one for the whole
// set, as "key: value" blocks, as tab-separated text and as JSON.
namespace StatisticsFormat {

struct Row {
    QString key;        // as in the JSON ("min_time", "below_records", ...)
    QStringList values; // per measurement, then the whole set; empty where there is none
};

// The rows in a fixed order; the limit rows only for the limits that are set.
QList<Row> rows(const Statistics& st);

// "unit: ..." and then a blank-line separated "key: value" block per measurement and for the
// whole set ("measurement: all"); "-" where there is no value.
QString text(const Statistics& st);

// A header line and the rows, tab-separated, for a spreadsheet's paste.
QString tabSeparated(const QStringList& header, const QStringList& labels, const QList<Row>& rows);

// {"unit": ..., "measurements": [...], "all": {...}}; values with the cell's decimals,
// mean, sd and mkt to six significant digits, null where there is no value.
QByteArray json(const Statistics& st);

// The message that names the first record left out: `pattern` takes the record number (%1)
// and its value cell (%2). Empty when every record was read.
QString unreadable(const Statistics& st, const RecordSet& table, const QString& pattern);

} // namespace StatisticsFormat
