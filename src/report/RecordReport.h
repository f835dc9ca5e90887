#pragma once

#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

// The record report: an A4 portrait cover page with the report fields, then the record
// listing in two 95 mm columns under a title band, each page with "Page X of Y". Laid out in
// millimetres inside 10 mm margins on any paged device (printer, PDF writer); the pages are
// counted before the first one is painted.
class RecordReport {
public:
    struct Layout {
        int linesPerColumn = 0;
        int listingPages = 1;
        int pageCount() const { return 1 + listingPages; }
    };

    RecordReport(QString file, QString file1, QString file2);

    // How the listing falls into columns and pages for a line height in millimetres.
    Layout layout(double lineHeightMm) const;
    const QStringList& listingLines() const { return lines_; }

    // Sets the device to A4 portrait with 10 mm margins and paints every page; false when the
    // device cannot be painted on.
    bool print(QPagedPaintDevice& device) const;

    static QString footerText(int page, int pageCount);

private:
    QString file_;
    QString file1_;
    QStringList lines_;
};
