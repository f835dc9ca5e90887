#pragma once

#include "LoggerInfo.h"
#include "RecordSet.h"
#include "RecordView.h"
#include "app/Regional.h"

#include <QString>

#include <cstdint>
#include <functional>

class Clock;
class MainControls;

enum class RecordOriginKind { Downloaded, FromFile };

// The record table of the main window: the record set, the logger it describes, where its
// records came from, and how a download fills it.
class RecordTable {
public:
    RecordTable(MainControls& controls, const Clock& clock, Regional regional);

    LoggerInfo loggerInfo;
    FillState fill;
    RecordOriginKind RecordOrigin = RecordOriginKind::Downloaded;
    // Record count of the data file last opened (its line 14): the records held while
    // RecordOrigin is FromFile.
    int fileRecordCount = 0;
    // Record lines the data file last opened announced (records and separators); fewer
    // were read when rowsWritten of `fill` is below it (a cut file, a NUL in it).
    int fileRowsAnnounced = 0;
    // The record dates of the data file last opened are month first (English interface).
    bool fileDatesMonthFirst = false;
    // The configuration dialog's records field (Edit2) and measurements field (Edit1); every
    // configuration reply writes the logger's counts into them.
    struct {
        QString Edit2 = "10";
        QString Edit1 = "1";
    } TForm3;
    // The table holds downloaded records not saved since.
    bool unsavedRecords = false;
    // The record set (and with it LoggerInfo) was cleared since the last configuration reply.
    bool configurationStale = false;
    // Asked before unsaved records are cleared (set by the session): true when the action
    // may go on.
    std::function<bool()> askBeforeClearing;

    RecordSet& records() { return records_; }
    const RecordSet& records() const { return records_; }
    const Regional& regional() const { return regional_; }
    // The record set as typed values (dates with their year, values as numbers), built
    // again only after the table or what it is read with changed.
    const RecordView& recordView() const;

    // Run first by every action that clears the record set: unsaved records are saved,
    // discarded or kept as the user answers. True when the action may go on.
    bool mayClearRecords() { return !unsavedRecords || !askBeforeClearing || askBeforeClearing(); }
    // Writes the record grid's header row in the interface language and empties the rest.
    void ClearRecordSet();
    // The header row in the interface language.
    void writeHeaderRow();
    // Shows LoggerInfo in the instrument panel and the value header; cuts the table back.
    void ShowLoggerInfo();
    // Turns the records of a records reply into rows. `length` is the reply's own total
    // length (its bytes 3-4); only the whole records within the `received` bytes are
    // decoded. Returns false when the reply announced more than was received. A record whose
    // date or time cannot be converted stops it with a ConversionError.
    bool AppendRecords(const uint8_t* reply, uint32_t length, uint32_t received);
    // Shows the type and unit of loggerInfo in the panel and the value header; an unknown
    // type or unit leaves what they showed.
    void showTypeAndUnit();
    // Records the record set holds, as the chart counts them.
    int chartRecordTotal() const;

private:
    MainControls& controls_;
    const Clock& clock_;
    Regional regional_;
    RecordSet records_;
    mutable RecordViewCache recordView_;
};
