#pragma once

#include "LoggerInfo.h"
#include "RecordSet.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// The data file (".DAT"): fourteen header lines of fixed width (the report fields and the
// logger's description), the column-title line, then one 40-character line per table row.
// Windows-1252 text with CR LF line ends. The reader takes the header fields from fixed
// character positions, counting each CR LF as one character, and the records from fixed-width
// cells; the file carries no signature, so any file may be offered to it.
namespace DataFile {

inline constexpr int kFieldWidth = 50; // title, objective, responsible
inline constexpr int kDateWidth = 10;  // dd/mm/yyyy
inline constexpr int kRecordLineWidth = 40;
// The header block is this long when every value fits its width.
inline constexpr int kHeaderChars = 203;
// The reader sees at most this many characters of a file (line ends reduced).
inline constexpr qsizetype kMaxChars = 154810;

struct ReportFields {
    QString title;
    QString objective;
    QString responsible;
    QString date;

    bool operator==(const ReportFields&) const = default;
};

// `text` followed by blanks up to `width` characters; a longer text stays as it is.
QString padded(const QString& text, int width);

// Whether a report field goes into a file unchanged: every character exists in Windows-1252
// and none is a control character (a line break would shift every later field).
bool storable(QStringView text);
// The characters of `text` that keep it from being storable, each once, in order.
QString unstorableCharacters(QStringView text);

// The file's bytes: the report fields padded, LoggerInfo, the record count (rows 1 to lastRow
// minus the separator rows, i.e. lastRow - storedMeasurements), the header row of the table,
// then rows 1 to lastRow. Rows past the end of the table are not written.
QByteArray write(const ReportFields& fields, const LoggerInfo& info, const RecordSet& table,
                 int lastRow);

enum class ReadStatus {
    Ok,
    CannotOpen, // the file could not be opened for reading
    Foreign,    // binary, or a text that does not start like a data file
    TooShort,   // the text ends before the last header field
    NotANumber, // a header number is not a decimal integer (see badLine)
};

struct Content {
    ReportFields fields;        // 50, 50, 50 and 10 characters, blanks as they stand
    LoggerInfo info;            // every number of the header
    QString equipmentText;      // line 9 as it stands (leading zeros kept)
    QString recordsText;        // line 11 as it stands
    int recordCount = 0;        // line 14
    QString columnTitles;       // line 15 as it stands; only its language is of interest
    QList<RecordSet::Row> rows; // record lines in order, up to the first that is not 40 wide

    // Record lines the header announces: the records and one separator per stored
    // measurement.
    int rowsAnnounced() const { return recordCount + info.storedMeasurements; }
    // Rows of the record table this file asks for: header, record count plus one separator
    // row per configured measurement, one spare row. Never less than the header and one row.
    int tableRowCount() const;
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    QString reason;  // CannotOpen: the system's reason
    int badLine = 0; // NotANumber: the 1-based header line
    QString badText; // NotANumber: what that line holds
    Content content; // complete only when status is Ok
};

// Reads a file's bytes as they are on disk. Only the first kMaxChars characters (after each
// CR LF became one line feed) are looked at, and the text ends at the first NUL byte.
ReadResult parse(QByteArrayView bytes);

// Reads the file at `path`; never more of it than parse() can use.
ReadResult read(const QString& path);

// The column titles were written by the English interface, whose date cells are month first.
bool monthFirstDates(QStringView columnTitles);

} // namespace DataFile
