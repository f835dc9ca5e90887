#pragma once

#include <QString>

#include <functional>

class MainControls;
class RecordTable;

// The file actions of the main window: saving the record set as a data file, opening one,
// and the CSV export of the table.
class DataFileActions {
public:
    // `downloadName` is the name a download proposes for its data file (empty before any).
    DataFileActions(MainControls& controls, RecordTable& table, const QString& downloadName);

    // Asks the user for a file (a dialog, or a name given on the command line); an empty
    // path means the choice was cancelled.
    using FileChooser = std::function<QString()>;
    // "Salvar como...": checks the report fields, asks for a file, writes the record set.
    // The earlier file stays intact unless the whole new one was written.
    void Salvarcomo1Click(const FileChooser& chooseFile);
    // "Abrir...": clears the record set, asks for a file, reads it into the window.
    void Abrir1Click(const FileChooser& chooseFile);
    // "Exportar CSV...": the records of the table as CSV.
    void ExportarCsvClick(const FileChooser& chooseFile);
    // Names the save dialogs propose: the download's name ("Arqx" before any download), and
    // for CSV the data file shown or that same name.
    QString proposedDataFileName() const;
    QString proposedCsvName() const;
    // "Exportar CSV..." follows the table: its caption, and enabled while it holds records.
    void refreshExportCsv();

private:
    MainControls& controls_;
    RecordTable& table_;
    const QString& downloadName_;
};
