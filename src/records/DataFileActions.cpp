// The session's file actions: saving the record set as a data file, opening one, and the CSV
// export of the table.
#include "AtomicFile.h"
#include "CsvExport.h"
#include "DataFile.h"
#include "MeasurementUnits.h"
#include "RecordCells.h"
#include "app/MainSession.h"

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

void MainSession::Salvarcomo1Click(const FileChooser& chooseFile) {
    if (view_.Edit3.text.isEmpty()) {
        say(text(Txt::TitleEmpty));
        return;
    }
    // A field the code page cannot hold is refused before any file is touched: the file
    // would otherwise keep an altered text.
    const std::pair<Txt, const EditState*> fields[] = {
        {Txt::FieldTitle, &view_.Edit3},
        {Txt::FieldObjective, &view_.Edit4},
        {Txt::FieldResponsible, &view_.Edit5},
    };
    for (const auto& [name, edit] : fields) {
        if (!DataFile::storable(edit->text)) {
            say(text(Txt::FieldNotStorable)
                    .arg(text(name), DataFile::unstorableCharacters(edit->text)));
            return;
        }
    }

    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    const DataFile::ReportFields report{view_.Edit3.text, view_.Edit4.text, view_.Edit5.text,
                                        view_.Edit1.text};
    if (const QString problem = saveProblem(
            path, DataFile::write(report, loggerInfo, records_, fill.rowsWritten), UiLanguage);
        !problem.isEmpty()) {
        say(problem);
        return;
    }

    view_.caption = captionFor(path);
    // The fields keep the text as written, the line end of the report fields included.
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5}) {
        e->text = DataFile::padded(e->text, DataFile::kFieldWidth) + u'\n';
        e->readOnly = true;
    }
    view_.Edit1.text = DataFile::padded(view_.Edit1.text, DataFile::kDateWidth);
    view_.Salvarcomo1.enabled = false;
    unsavedRecords_ = false;
    changed();
}

void MainSession::Abrir1Click(const FileChooser& chooseFile) {
    if (!mayClearRecords())
        return;
    // The record set is cleared before the dialog: a cancelled choice leaves it empty.
    ClearRecordSet();
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;

    const DataFile::ReadResult read = DataFile::read(path);
    // Nothing of a file that is not a data file is shown: the window stays cleared.
    switch (read.status) {
    case DataFile::ReadStatus::Foreign:
        say(text(Txt::DataFileForeign));
        return;
    case DataFile::ReadStatus::TooShort:
        say(text(Txt::DataFileTooShort));
        return;
    case DataFile::ReadStatus::NotANumber:
        say(text(Txt::DataFileNotANumber)
                .arg(QString::number(read.badLine), printable(read.badText)));
        return;
    case DataFile::ReadStatus::Ok:
    case DataFile::ReadStatus::CannotOpen:
        break;
    }

    RecordOrigin = RecordOriginKind::FromFile;
    fill = {};
    fileRecordCount = 0;
    fileRowsAnnounced = 0;
    fileDatesMonthFirst = false;
    const bool opened = read.status == DataFile::ReadStatus::Ok;
    if (opened) {
        const DataFile::Content& c = read.content;
        view_.caption = captionFor(path);
        view_.Edit3.text = c.fields.title;
        view_.Edit4.text = c.fields.objective;
        view_.Edit5.text = c.fields.responsible;
        view_.Edit1.text = c.fields.date;
        loggerInfo = c.info;
        view_.Label17 = c.recordsText;
        view_.Label18 = QStringLiteral("%1/%2")
                            .arg(loggerInfo.storedMeasurements)
                            .arg(loggerInfo.configuredMeasurements);
        view_.Label19 = c.equipmentText;
        fileRecordCount = c.recordCount;
        fileDatesMonthFirst = DataFile::monthFirstDates(c.columnTitles);

        // Record lines beyond the table's row count are not shown.
        const int rowCount = c.tableRowCount();
        const qsizetype shown = std::min<qsizetype>(c.rows.size(), rowCount - 1);
        QList<RecordSet::Row> rows = c.rows.first(shown);
        rows.resize(rowCount - 1);
        records_.replaceRowsFrom(1, std::move(rows));
        fill.rowsWritten = int(shown);
        fileRowsAnnounced = c.rowsAnnounced();
        // What was read is shown all the same; the status bar says that it is not all.
        if (fill.rowsWritten < fileRowsAnnounced)
            view_.StatusBar1[2] =
                text(Txt::DataFilePartlyRead).arg(fill.rowsWritten).arg(fileRowsAnnounced);
    }

    // A file that cannot be opened still ends here, with the cleared record set (a pressure
    // record set in BAR with no rows).
    // An unknown type or unit leaves the texts the clearing wrote.
    if (const auto type = MeasurementUnits::typeText(loggerInfo.measurementType, UiLanguage)) {
        view_.Label13 = *type;
        if (const auto unit = MeasurementUnits::unitTexts(loggerInfo.measurementType,
                                                          loggerInfo.unitCode, UiLanguage)) {
            view_.Label14 = unit->unit;
            records_.setCell(0, 3, unit->valueHeader);
        }
    }
    view_.Grafico1.enabled = true;
    view_.Imprimir1.enabled = true;
    view_.Salvarcomo1.enabled = false;
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->readOnly = true;
    view_.StringGrid1Enabled = true;
    if (opened)
        changed();
    else
        say(text(Txt::FileCannotBeOpened) + QDir::toNativeSeparators(path) + QStringLiteral(": ") +
            read.reason);
}

void MainSession::ExportarCsvClick(const FileChooser& chooseFile) {
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    const QByteArray csv = CsvExport::write(records_, recordView());
    if (const QString problem = saveProblem(path, csv, UiLanguage); !problem.isEmpty())
        say(problem);
}

QString MainSession::proposedDataFileName() const {
    return defaultFileName.isEmpty() ? QStringLiteral("Arqx") : defaultFileName;
}

QString MainSession::proposedCsvName() const {
    // The caption names the data file on screen, if any.
    const QString base =
        view_.caption.startsWith(kCaptionPrefix)
            ? QFileInfo(view_.caption.mid(kCaptionPrefix.size())).completeBaseName()
            : proposedDataFileName();
    return base + QStringLiteral(".csv");
}

void MainSession::refreshExportCsv() {
    view_.ExportarCsv1.caption = text(Txt::ExportarCsv1);
    bool holdsRecords = false;
    for (int r = 1; r < records_.rowCountTotal() && !holdsRecords; ++r) {
        const RecordSet::Row& row = records_.row(r);
        holdsRecords = !row[0].trimmed().isEmpty() && !RecordCells::isSeparatorRow(row);
    }
    view_.ExportarCsv1.enabled = holdsRecords;
}
