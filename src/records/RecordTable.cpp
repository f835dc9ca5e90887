// The record table of the main session: reset, logger description and filling from a
// records reply.
#include "MeasurementUnits.h"
#include "RecordCells.h"
#include "app/Clock.h"
#include "app/ConversionError.h"
#include "app/MainSession.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace {

constexpr uint32_t kFirstRecordByte = 5;
constexpr uint32_t kRecordBytes = 7; // day, month, hour, minute, second, value (high, low)

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

void MainSession::writeHeaderRow() {
    records_.setRow(0, {text(Txt::HeaderRecord), text(Txt::HeaderDate), text(Txt::HeaderTime),
                        text(Txt::HeaderValue)});
}

void MainSession::ClearRecordSet() {
    view_.Grafico1.enabled = false;
    // An empty table is neither saved nor printed.
    view_.Salvarcomo1.enabled = false;
    view_.Imprimir1.enabled = false;
    unsavedRecords_ = false;
    for (EditState* e : {&view_.Edit1, &view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->text.clear();
    for (QString* label :
         {&view_.Label13, &view_.Label14, &view_.Label17, &view_.Label18, &view_.Label19})
        label->clear();
    view_.caption = text(Txt::WindowCaption);
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->readOnly = true;
    loggerInfo = {};
    // A download needs the logger's description again before it can decode records.
    configurationStale_ = true;
    RecordOrigin = RecordOriginKind::Downloaded;
    fill.nextSeparatorRow = 0;
    records_.setRowCountTotal(2);
    writeHeaderRow();
    records_.clearBody();
    view_.StringGrid1CurrentRow = 1;
    changed();
}

void MainSession::ShowLoggerInfo() {
    const LoggerInfo& info = loggerInfo;
    // An unknown type or unit leaves what the panel and the header showed.
    if (const auto type = MeasurementUnits::typeText(info.measurementType, UiLanguage)) {
        view_.Label13 = *type;
        if (const auto unit =
                MeasurementUnits::unitTexts(info.measurementType, info.unitCode, UiLanguage)) {
            view_.Label14 = unit->unit;
            records_.setCell(0, 3, unit->valueHeader);
        }
    }
    view_.Label17 = QString::number(info.recordsPerMeasurement);
    TForm3.Edit2 = view_.Label17;
    TForm3.Edit1 = QString::number(info.configuredMeasurements);
    view_.Label18 =
        QStringLiteral("%1/%2").arg(info.storedMeasurements).arg(info.configuredMeasurements);
    view_.Label19 = QString::number(info.equipmentNumber);
    view_.StringGrid1Enabled = true;
    records_.setRowCountTotal(2);
    records_.clearBody();
    unsavedRecords_ = false;
    changed();
}

bool MainSession::AppendRecords(const uint8_t* reply, uint32_t length, uint32_t received) {
    if (!reply)
        received = 0;
    // Only whole records within the bytes that really arrived are decoded, however long the
    // reply says it is.
    const uint32_t usable = std::min({length, received, uint32_t(kRxBufferSize)});
    const uint32_t recordBytes =
        usable > kFirstRecordByte ? (usable - kFirstRecordByte) / kRecordBytes * kRecordBytes : 0;

    if (recordBytes > 0) {
        const int year = clock_.now().date().year();
        const int perMeasurement = loggerInfo.recordsPerMeasurement;
        const int decimalsCode = loggerInfo.decimalsCode;
        const Regional& regional = regional_;

        // Rows are built aside and put into the table in one go; the table ends one row
        // after the last row written.
        const int firstRow = fill.rowsWritten + 1;
        QList<RecordSet::Row> rows;
        rows.reserve(qsizetype(recordBytes / kRecordBytes) +
                     std::max(loggerInfo.storedMeasurements, 1) + 1);
        auto rowAt = [&](int tableRow) -> RecordSet::Row& {
            const qsizetype i = tableRow - firstRow;
            if (i >= rows.size())
                rows.resize(i + 1);
            return rows[i];
        };
        // Also run when a record cannot be converted: the rows before it stay, and its own
        // row keeps the cells already converted (its number at least), showing where the
        // download stopped.
        auto commit = [&] {
            rows.resize(fill.rowsWritten + 2 - firstRow);
            records_.replaceRowsFrom(firstRow, std::move(rows));
        };

        const uint8_t* records = reply + kFirstRecordByte;
        // The separator test runs before every byte, as the logger's layout is walked byte
        // by byte: a measurement announced but still without records gets its separator
        // row after the last record.
        for (uint32_t pos = 0; pos < recordBytes; ++pos) {
            if (fill.rowsWritten == fill.nextSeparatorRow) {
                ++fill.lastMeasurementNumber;
                rowAt(fill.rowsWritten + 1) = RecordCells::separatorRow(fill.lastMeasurementNumber);
                ++fill.rowsWritten;
                if (fill.lastMeasurementNumber < loggerInfo.storedMeasurements)
                    fill.nextSeparatorRow += perMeasurement + 1;
            }
            const uint8_t* r = records + pos / kRecordBytes * kRecordBytes;
            switch (pos % kRecordBytes) {
            case 0:
                ++fill.lastRecordNumber;
                rowAt(fill.rowsWritten + 1)[0] = RecordCells::numberText(fill.lastRecordNumber);
                break;
            case 1:
                if (!QDate::isValid(year, r[1], r[0])) {
                    commit();
                    throw ConversionError(text(Txt::RecordDateInvalid)
                                              .arg(fill.lastRecordNumber)
                                              .arg(int(r[0]))
                                              .arg(int(r[1])));
                }
                rowAt(fill.rowsWritten + 1)[1] =
                    RecordCells::dateText(r[0], r[1], UiLanguage, regional.dateSeparator);
                break;
            case 4:
                if (!QTime::isValid(r[2], r[3], r[4])) {
                    commit();
                    throw ConversionError(
                        text(Txt::RecordTimeInvalid)
                            .arg(fill.lastRecordNumber)
                            .arg(twoDigits(r[2]), twoDigits(r[3]), twoDigits(r[4])));
                }
                rowAt(fill.rowsWritten + 1)[2] =
                    RecordCells::timeText(r[2], r[3], r[4], regional.timeSeparator);
                break;
            case 5:
                rowAt(fill.rowsWritten + 1)[3] = RecordCells::valueText(
                    quint16(r[5] << 8 | r[6]), decimalsCode, regional.decimalSeparator);
                ++fill.rowsWritten;
                break;
            default:
                break;
            }
        }
        commit();
    }

    for (EditState* e : {&view_.Edit1, &view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->text.clear();
    view_.StringGrid1Enabled = true;
    changed();
    return length <= usable;
}
