#include "ReportPreviewDialog.h"

#include "app/Texts.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrinter>
#include <QToolBar>

ReportPreviewDialog::Texts ReportPreviewDialog::textsFor(char language) {
    return {::Texts::text(Txt::ExportPdf, language), ::Texts::text(Txt::PdfFilter, language),
            ::Texts::text(Txt::PdfCannotWrite, language)};
}

ReportPreviewDialog::ReportPreviewDialog(Painter paint, Texts texts, QWidget* parent)
    : QPrintPreviewDialog(parent), paint_(std::move(paint)), texts_(std::move(texts)) {
    setObjectName(QStringLiteral("ReportPreview"));
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { paint_(*printer); });
    if (auto* toolbar = findChild<QToolBar*>()) {
        toolbar->addSeparator();
        QAction* action = toolbar->addAction(texts_.exportAction);
        action->setObjectName(QStringLiteral("ExportarPdf"));
        connect(action, &QAction::triggered, this, [this] {
            const QString path = QFileDialog::getSaveFileName(this, texts_.exportAction, QString(),
                                                              texts_.pdfFilter);
            if (path.isEmpty())
                return;
            if (const AtomicFile::Result written = exportPdf(path); !written.ok())
                QMessageBox::warning(this, windowTitle(),
                                     texts_.cannotWrite + AtomicFile::describe(path, written));
        });
    }
}

AtomicFile::Result ReportPreviewDialog::exportPdf(const QString& path) {
    return AtomicFile::write(path, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("TERVIX"));
        return paint_(writer);
    });
}
