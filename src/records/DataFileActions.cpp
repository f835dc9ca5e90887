// The session's file actions: saving the record set as a data file, opening one, and the CSV
// export of the table.
#include "DataFileActions.h"

#include "AtomicFile.h"
#include "CsvExport.h"
#include "DataFile.h"
#include "RecordCells.h"
#include "RecordTable.h"
#include "app/MainControls.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QLatin1String kCaptionPrefix("Datalogger ");

// The window caption while a data file is shown: the prefix and the file's full path.
QString captionFor(const QString& path) {
    return kCaptionPrefix + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Writes a whole file; the message for the user when that failed (naming the file and the
// system's reason), empty when it was written.
QString saveProblem(const QString& path, const QByteArray& bytes, char language) {
    const AtomicFile::Result written = AtomicFile::write(path, bytes);
    if (written.ok())
        return {};
    const Txt message = written.status == AtomicFile::Result::CannotOpen ? Txt::FileCannotBeSaved
                                                                         : Txt::FileWriteError;
    return Texts::text(message, language) + AtomicFile::describe(path, written);
}

// What a malformed header line holds, fit for a message: control characters (a binary file)
// are shown as '?'.
QString printable(QString text) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            c = u'?';
    return text;
}

} // namespace

DataFileActions::DataFileActions(MainControls& controls, RecordTable& table,
                                 const QString& downloadName)
    : controls_(controls), table_(table), downloadName_(downloadName) {}

void DataFileActions::Salvarcomo1Click(const FileChooser& chooseFile) {
    if (controls_.view.Edit3.text.isEmpty()) {
        controls_.say(controls_.text(Txt::TitleEmpty));
        return;
    }
    // A field the code page cannot hold is refused before any file is touched: the file
    // would otherwise keep an altered text.
    const std::pair<Txt, const EditState*> fields[] = {
        {Txt::FieldTitle, &controls_.view.Edit3},
        {Txt::FieldObjective, &controls_.view.Edit4},
        {Txt::FieldResponsible, &controls_.view.Edit5},
    };
    for (const auto& [name, edit] : fields) {
        if (!DataFile::storable(edit->text)) {
            controls_.say(
                controls_.text(Txt::FieldNotStorable)
                    .arg(controls_.text(name), DataFile::unstorableCharacters(edit->text)));
            return;
        }
    }

    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    const DataFile::ReportFields report{controls_.view.Edit3.text, controls_.view.Edit4.text,
                                        controls_.view.Edit5.text, controls_.view.Edit1.text};
    if (const QString problem = saveProblem(
            path,
            DataFile::write(report, table_.loggerInfo, table_.records(), table_.fill.rowsWritten),
            controls_.UiLanguage);
        !problem.isEmpty()) {
        controls_.say(problem);
        return;
    }

    controls_.view.caption = captionFor(path);
    // The fields keep the text as written, the line end of the report fields included.
    for (EditState* e : {&controls_.view.Edit3, &controls_.view.Edit4, &controls_.view.Edit5}) {
        e->text = DataFile::padded(e->text, DataFile::kFieldWidth) + u'\n';
        e->readOnly = true;
    }
    controls_.view.Edit1.text = DataFile::padded(controls_.view.Edit1.text, DataFile::kDateWidth);
    controls_.view.Salvarcomo1.enabled = false;
    table_.unsavedRecords = false;
    controls_.changed();
}

void DataFileActions::Abrir1Click(const FileChooser& chooseFile) {
    if (!table_.mayClearRecords())
        return;
    // The record set is cleared before the dialog: a cancelled choice leaves it empty.
    table_.ClearRecordSet();
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;

    const DataFile::ReadResult read = DataFile::read(path);
    // Nothing of a file that is not a data file is shown: the window stays cleared.
    switch (read.status) {
    case DataFile::ReadStatus::Foreign:
        controls_.say(controls_.text(Txt::DataFileForeign));
        return;
    case DataFile::ReadStatus::TooShort:
        controls_.say(controls_.text(Txt::DataFileTooShort));
        return;
    case DataFile::ReadStatus::NotANumber:
        controls_.say(controls_.text(Txt::DataFileNotANumber)
                          .arg(QString::number(read.badLine), printable(read.badText)));
        return;
    case DataFile::ReadStatus::Ok:
    case DataFile::ReadStatus::CannotOpen:
        break;
    }

    table_.RecordOrigin = RecordOriginKind::FromFile;
    table_.fill = {};
    table_.fileRecordCount = 0;
    table_.fileRowsAnnounced = 0;
    table_.fileDatesMonthFirst = false;
    const bool opened = read.status == DataFile::ReadStatus::Ok;
    if (opened) {
        const DataFile::Content& c = read.content;
        controls_.view.caption = captionFor(path);
        controls_.view.Edit3.text = c.fields.title;
        controls_.view.Edit4.text = c.fields.objective;
        controls_.view.Edit5.text = c.fields.responsible;
        controls_.view.Edit1.text = c.fields.date;
        table_.loggerInfo = c.info;
        controls_.view.Label17 = c.recordsText;
        controls_.view.Label18 = QStringLiteral("%1/%2")
                                     .arg(table_.loggerInfo.storedMeasurements)
                                     .arg(table_.loggerInfo.configuredMeasurements);
        controls_.view.Label19 = c.equipmentText;
        table_.fileRecordCount = c.recordCount;
        table_.fileDatesMonthFirst = DataFile::monthFirstDates(c.columnTitles);

        // Record lines beyond the table's row count are not shown.
        const int rowCount = c.tableRowCount();
        const qsizetype shown = std::min<qsizetype>(c.rows.size(), rowCount - 1);
        QList<RecordSet::Row> rows = c.rows.first(shown);
        rows.resize(rowCount - 1);
        table_.records().replaceRowsFrom(1, std::move(rows));
        table_.fill.rowsWritten = int(shown);
        table_.fileRowsAnnounced = c.rowsAnnounced();
        // What was read is shown all the same; the status bar says that it is not all.
        if (table_.fill.rowsWritten < table_.fileRowsAnnounced)
            controls_.view.StatusBar1[2] = controls_.text(Txt::DataFilePartlyRead)
                                               .arg(table_.fill.rowsWritten)
                                               .arg(table_.fileRowsAnnounced);
    }

    // A file that cannot be opened still ends here, with the cleared record set (a pressure
    // record set in BAR with no rows).
    // An unknown type or unit leaves the texts the clearing wrote.
    table_.showTypeAndUnit();
    controls_.view.Grafico1.enabled = true;
    controls_.view.Imprimir1.enabled = true;
    controls_.view.Salvarcomo1.enabled = false;
    for (EditState* e : {&controls_.view.Edit3, &controls_.view.Edit4, &controls_.view.Edit5})
        e->readOnly = true;
    controls_.view.StringGrid1Enabled = true;
    if (opened)
        controls_.changed();
    else
        controls_.say(controls_.text(Txt::FileCannotBeOpened) + QDir::toNativeSeparators(path) +
                      QStringLiteral(": ") + read.reason);
}

void DataFileActions::ExportarCsvClick(const FileChooser& chooseFile) {
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    const QByteArray csv = CsvExport::write(table_.records(), table_.recordView());
    if (const QString problem = saveProblem(path, csv, controls_.UiLanguage); !problem.isEmpty())
        controls_.say(problem);
}

QString DataFileActions::proposedDataFileName() const {
    return downloadName_.isEmpty() ? QStringLiteral("Arqx") : downloadName_;
}

QString DataFileActions::proposedCsvName() const {
    // The caption names the data file on screen, if any.
    const QString base =
        controls_.view.caption.startsWith(kCaptionPrefix)
            ? QFileInfo(controls_.view.caption.mid(kCaptionPrefix.size())).completeBaseName()
            : proposedDataFileName();
    return base + QStringLiteral(".csv");
}

void DataFileActions::refreshExportCsv() {
    controls_.view.ExportarCsv1.caption = controls_.text(Txt::ExportarCsv1);
    bool holdsRecords = false;
    const RecordSet& records = table_.records();
    for (int r = 1; r < records.rowCountTotal() && !holdsRecords; ++r) {
        const RecordSet::Row& row = records.row(r);
        holdsRecords = !row[0].trimmed().isEmpty() && !RecordCells::isSeparatorRow(row);
    }
    controls_.view.ExportarCsv1.enabled = holdsRecords;
}
