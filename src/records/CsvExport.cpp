#include "CsvExport.h"

namespace {

QString trimmedCell(const RecordSet& table, int row, int column) {
    return CsvExport::quoted(table.cell(row, column).trimmed());
}

} // namespace

namespace CsvExport {

QString quoted(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    QString q = field;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QByteArray write(const RecordSet& table, const RecordView& view) {
    const QString unit = quoted(view.unit);
    QString text = QStringLiteral("measurement,record,date,time,timestamp,value,unit\r\n");
    text.reserve(text.size() + qsizetype(view.recordCount()) * 64);
    for (const MeasurementRecords& m : view.measurements) {
        const QString measurement = m.number              ? QString::number(*m.number)
                                    : m.separatorRow >= 0 ? trimmedCell(table, m.separatorRow, 1)
                                                          : QString();
        for (const TypedRecord& r : m.records) {
            const QStringList fields = {
                measurement,
                r.record ? QString::number(*r.record) : trimmedCell(table, r.row, 0),
                trimmedCell(table, r.row, 1),
                trimmedCell(table, r.row, 2),
                r.time.isValid() ? r.time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
                                 : QString(),
                r.value ? r.value->plain() : trimmedCell(table, r.row, 3),
                unit,
            };
            text += fields.join(u',');
            text += QStringLiteral("\r\n");
        }
    }
    return text.toUtf8();
}

} // namespace CsvExport
