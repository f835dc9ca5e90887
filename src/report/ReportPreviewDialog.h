#pragma once

#include "records/AtomicFile.h"

#include <QPrintPreviewDialog>

#include <functional>

class QPagedPaintDevice;

// The print preview of a report: zoom, page navigation, page set-up and printing, plus
// "Exportar PDF..." writing the same pages to a PDF file.
class ReportPreviewDialog : public QPrintPreviewDialog {
    Q_OBJECT
public:
    using Painter = std::function<bool(QPagedPaintDevice&)>;

    struct Texts {
        QString exportAction; // "Exportar PDF..."
        QString pdfFilter;
        QString cannotWrite; // followed by the file name
    };

    static Texts textsFor(char language);

    ReportPreviewDialog(Painter paint, Texts texts, QWidget* parent = nullptr);

    // Writes the report to a PDF file; the outcome says why it could not be written.
    AtomicFile::Result exportPdf(const QString& path);

private:
    Painter paint_;
    Texts texts_;
};
