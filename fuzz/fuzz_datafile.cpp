// The data file reader on arbitrary file contents: it must never fail or read out of bounds,
// every record row it gives has four 10-character cells, and a file it read, written back and
// read again, gives the same fields, numbers and rows. The CSV export runs over the rows too.
#include "records/CsvExport.h"
#include "records/DataFile.h"
#include "records/RecordView.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DataFile::ReadResult first = DataFile::parse(bytes);
    if (first.status != DataFile::ReadStatus::Ok) {
        if (!first.content.rows.isEmpty())
            std::abort();
        return 0;
    }
    const DataFile::Content& c = first.content;
    if (c.fields.title.size() != DataFile::kFieldWidth ||
        c.fields.date.size() != DataFile::kDateWidth || c.tableRowCount() < 2)
        std::abort();
    for (const RecordSet::Row& row : c.rows)
        for (const QString& cell : row)
            if (cell.size() != 10)
                std::abort();

    RecordSet table;
    table.setRowCountTotal(int(c.rows.size()) + 1);
    table.setRow(0, {c.columnTitles, {}, {}, {}});
    for (qsizetype r = 0; r < c.rows.size(); ++r)
        table.setRow(int(r) + 1, c.rows[r]);
    const int lastRow = int(c.rows.size());

    // A CR kept in the text (one that stood before another CR on disk) would meet the line
    // feed of the writer's line end and become part of it; no window text holds one.
    bool carriageReturn = c.columnTitles.contains(u'\r');
    for (const QString* f :
         {&c.fields.title, &c.fields.objective, &c.fields.responsible, &c.fields.date})
        carriageReturn = carriageReturn || f->contains(u'\r');
    for (const RecordSet::Row& row : c.rows)
        for (const QString& cell : row)
            carriageReturn = carriageReturn || cell.contains(u'\r');
    if (!carriageReturn) {
        const DataFile::ReadResult again =
            DataFile::parse(DataFile::write(c.fields, c.info, table, lastRow));
        if (again.status != DataFile::ReadStatus::Ok || again.content.fields != c.fields ||
            again.content.info != c.info || again.content.rows != c.rows ||
            again.content.columnTitles != c.columnTitles)
            std::abort();
    }

    const RecordView view =
        RecordView::build(table, {c.fields.date, DataFile::monthFirstDates(c.columnTitles), u'.',
                                  QStringLiteral("BAR")});
    const QByteArray csv = CsvExport::write(table, view);
    if (!csv.startsWith("measurement,record,date,time,timestamp,value,unit\r\n"))
        std::abort();
    return 0;
}
