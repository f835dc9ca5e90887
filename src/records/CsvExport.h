#pragma once

#include "RecordSet.h"
#include "RecordView.h"

#include <QByteArray>
#include <QString>

// The records of the table as CSV (RFC 4180, UTF-8, CR LF) for spreadsheets and scripts:
//   measurement,record,date,time,timestamp,value,unit
// one line per record of the typed view; a field that did not convert is written as its
// cell text, trimmed.
namespace CsvExport {

QByteArray write(const RecordSet& table, const RecordView& view);

// One field quoted when it holds a comma, a quote or a line break.
QString quoted(const QString& field);

} // namespace CsvExport
