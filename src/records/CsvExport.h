#pragma once

#include "RecordSet.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The records of the table as CSV (RFC 4180, UTF-8, CR LF) for spreadsheets and scripts:
//   measurement,record,date,time,timestamp,value,unit
// one line per record row; separator rows only give the measurement number of the records
// after them, empty rows are skipped.
namespace CsvExport {

struct Source {
    const RecordSet& table;
    int lastRow = 0;         // rows 1 to lastRow are exported
    QString issueDate;       // dd/mm/yyyy: gives the records their year
    bool monthFirst = false; // date cells are "mm/dd" (written by the English interface)
    QString unit;            // unit text of the values
};

QByteArray write(const Source& source);

// A value cell as a plain number with "." as decimal separator ("  -0012.3 " -> "-12.3");
// the digits after the separator are kept as they stand. A cell that is not a number comes
// back trimmed, unchanged.
QString plainNumber(QStringView cell);

// One field quoted when it holds a comma, a quote or a line break.
QString quoted(const QString& field);

} // namespace CsvExport
