// The record table of the main session: reset, logger description and filling from a
// records reply.
#include "RecordTable.h"

#include "MeasurementUnits.h"
#include "RecordCells.h"
#include "app/Clock.h"
#include "app/ConversionError.h"
#include "app/MainControls.h"
#include "protocol/LoggerReply.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace {

constexpr uint32_t kFirstRecordByte = LoggerReply::kRecordsHeaderLength;
constexpr uint32_t kRecordBytes = LoggerReply::kRecordLength;

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

RecordTable::RecordTable(MainControls& controls, const Clock& clock, Regional regional)
    : controls_(controls), clock_(clock), regional_(regional) {}

void RecordTable::writeHeaderRow() {
    records_.setRow(0, {controls_.text(Txt::HeaderRecord), controls_.text(Txt::HeaderDate),
                        controls_.text(Txt::HeaderTime), controls_.text(Txt::HeaderValue)});
}

void RecordTable::ClearRecordSet() {
    controls_.view.Grafico1.enabled = false;
    // An empty table is neither saved nor printed.
    controls_.view.Salvarcomo1.enabled = false;
    controls_.view.Imprimir1.enabled = false;
    unsavedRecords = false;
    for (EditState* e : {&controls_.view.Edit1, &controls_.view.Edit3, &controls_.view.Edit4,
                         &controls_.view.Edit5})
        e->text.clear();
    for (QString* label :
         {&controls_.view.Label13, &controls_.view.Label14, &controls_.view.Label17,
          &controls_.view.Label18, &controls_.view.Label19})
        label->clear();
    controls_.view.caption = controls_.text(Txt::WindowCaption);
    for (EditState* e : {&controls_.view.Edit3, &controls_.view.Edit4, &controls_.view.Edit5})
        e->readOnly = true;
    loggerInfo = {};
    // A download needs the logger's description again before it can decode records.
    configurationStale = true;
    RecordOrigin = RecordOriginKind::Downloaded;
    fill.nextSeparatorRow = 0;
    records_.setRowCountTotal(2);
    writeHeaderRow();
    records_.clearBody();
    controls_.view.StringGrid1CurrentRow = 1;
    controls_.changed();
}

void RecordTable::ShowLoggerInfo() {
    const LoggerInfo& info = loggerInfo;
    showTypeAndUnit();
    controls_.view.Label17 = QString::number(info.recordsPerMeasurement);
    TForm3.Edit2 = controls_.view.Label17;
    TForm3.Edit1 = QString::number(info.configuredMeasurements);
    controls_.view.Label18 =
        QStringLiteral("%1/%2").arg(info.storedMeasurements).arg(info.configuredMeasurements);
    controls_.view.Label19 = QString::number(info.equipmentNumber);
    controls_.view.StringGrid1Enabled = true;
    records_.setRowCountTotal(2);
    records_.clearBody();
    unsavedRecords = false;
    controls_.changed();
}

bool RecordTable::AppendRecords(const uint8_t* reply, uint32_t length, uint32_t received) {
    if (!reply)
        received = 0;
    // Only whole records within the bytes that really arrived are decoded, however long the
    // reply says it is.
    const uint32_t usable = std::min({length, received, uint32_t(LoggerReply::kLongestReply)});
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
        LoggerReply::Record r;
        for (uint32_t pos = 0; pos < recordBytes; ++pos) {
            if (fill.rowsWritten == fill.nextSeparatorRow) {
                ++fill.lastMeasurementNumber;
                rowAt(fill.rowsWritten + 1) = RecordCells::separatorRow(fill.lastMeasurementNumber);
                ++fill.rowsWritten;
                if (fill.lastMeasurementNumber < loggerInfo.storedMeasurements)
                    fill.nextSeparatorRow += perMeasurement + 1;
            }
            switch (pos % kRecordBytes) {
            case 0:
                r = LoggerReply::record(records + pos);
                ++fill.lastRecordNumber;
                rowAt(fill.rowsWritten + 1)[0] = RecordCells::numberText(fill.lastRecordNumber);
                break;
            case 1:
                if (!QDate::isValid(year, r.month, r.day)) {
                    commit();
                    throw ConversionError(controls_.text(Txt::RecordDateInvalid)
                                              .arg(fill.lastRecordNumber)
                                              .arg(r.day)
                                              .arg(r.month));
                }
                rowAt(fill.rowsWritten + 1)[1] = RecordCells::dateText(
                    r.day, r.month, controls_.UiLanguage, regional.dateSeparator);
                break;
            case 4:
                if (!QTime::isValid(r.hour, r.minute, r.second)) {
                    commit();
                    throw ConversionError(
                        controls_.text(Txt::RecordTimeInvalid)
                            .arg(fill.lastRecordNumber)
                            .arg(twoDigits(r.hour), twoDigits(r.minute), twoDigits(r.second)));
                }
                rowAt(fill.rowsWritten + 1)[2] =
                    RecordCells::timeText(r.hour, r.minute, r.second, regional.timeSeparator);
                break;
            case 5:
                rowAt(fill.rowsWritten + 1)[3] =
                    RecordCells::valueText(r.raw, decimalsCode, regional.decimalSeparator);
                ++fill.rowsWritten;
                break;
            default:
                break;
            }
        }
        commit();
    }

    MainViewState& view = controls_.view;
    for (EditState* e : {&view.Edit1, &view.Edit3, &view.Edit4, &view.Edit5})
        e->text.clear();
    view.StringGrid1Enabled = true;
    controls_.changed();
    return length <= usable;
}

void RecordTable::showTypeAndUnit() {
    MainViewState& view = controls_.view;
    if (const auto type =
            MeasurementUnits::typeText(loggerInfo.measurementType, controls_.UiLanguage)) {
        view.Label13 = *type;
        if (const auto unit = MeasurementUnits::unitTexts(
                loggerInfo.measurementType, loggerInfo.unitCode, controls_.UiLanguage)) {
            view.Label14 = unit->unit;
            records_.setCell(0, 3, unit->valueHeader);
        }
    }
}

int RecordTable::chartRecordTotal() const {
    // A data file states its count; a download counts the rows it wrote, less one
    // separator row per measurement.
    if (RecordOrigin == RecordOriginKind::FromFile)
        return fileRecordCount;
    return fill.rowsWritten - loggerInfo.storedMeasurements;
}

const RecordView& RecordTable::recordView() const {
    // Date cells are month first when the English interface wrote them.
    const bool monthFirst = RecordOrigin == RecordOriginKind::FromFile
                                ? fileDatesMonthFirst
                                : controls_.UiLanguage == 'i';
    const MainViewState& view = controls_.view;
    return recordView_.get(records_,
                           {view.Edit1.text, monthFirst, regional_.decimalSeparator, view.Label14});
}
