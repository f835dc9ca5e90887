#pragma once

#include "records/RecordTable.h"

#include <QString>

class RecordSet;

// The texts the record report asks for: "file" (the cover), "file1" (the listing's title
// line) and "file2" (the listing).
namespace ReportVariables {

struct Cover {
    QString equipment; // the equipment-number label
    QString title;
    QString objective;
    QString responsible;
    QString date;
    RecordOriginKind origin = RecordOriginKind::Downloaded;
    char language = 'p';
};

QString file(const Cover& cover);
// The four header cells of row 0, then a line break.
QString file1(const RecordSet& records);
// Rows 1 to lastRow, four cells each, a line feed after every row.
QString file2(const RecordSet& records, int lastRow);

} // namespace ReportVariables
