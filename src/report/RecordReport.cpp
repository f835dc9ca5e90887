#include "RecordReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

// Millimetres inside the margins of an A4 portrait page.
constexpr double kPageHeight = 277;
constexpr double kFooterHeight = 6;
constexpr double kHeaderHeight = 8;
constexpr double kColumnWidth = 95;
constexpr double kListingTop = kHeaderHeight;
constexpr double kListingBottom = kPageHeight - kFooterHeight;

QFont font(const QString& family, const char* fallback, double points, bool bold) {
    QFont f;
    f.setFamilies({family, QString::fromLatin1(fallback)});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont coverFont() {
    return font(QStringLiteral("Arial"), "Liberation Sans", 12, true);
}
QFont footerFont() {
    return font(QStringLiteral("Arial"), "Liberation Sans", 8, false);
}
QFont listingFont(bool bold) {
    QFont f = font(QStringLiteral("Courier New"), "Liberation Mono", 8, bold);
    f.setStyleHint(QFont::Monospace);
    return f;
}

struct Millimetres {
    double perMm;
    double operator()(double mm) const { return mm * perMm; }
    QRectF rect(double x, double y, double w, double h) const {
        return {(*this)(x), (*this)(y), (*this)(w), (*this)(h)};
    }
};

} // namespace

RecordReport::RecordReport(QString file, QString file1, QString file2)
    : file_(std::move(file)), file1_(std::move(file1)) {
    lines_ = file2.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast(); // the line feed after the last row ends it; it is no extra line
    while (file1_.endsWith(QLatin1Char('\n')))
        file1_.chop(1);
}

QString RecordReport::footerText(int page, int pageCount) {
    return QStringLiteral("Page %1 of %2").arg(page).arg(pageCount);
}

RecordReport::Layout RecordReport::layout(double lineHeightMm) const {
    Layout l;
    l.linesPerColumn = std::max(1, int(std::floor((kListingBottom - kListingTop) / lineHeightMm)));
    const int perPage = 2 * l.linesPerColumn;
    l.listingPages = std::max(1, int((lines_.size() + perPage - 1) / perPage));
    return l;
}

bool RecordReport::print(QPagedPaintDevice& device) const {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const Millimetres mm{device.logicalDpiY() / 25.4};

    const QFont listing = listingFont(false);
    const double lineHeight = QFontMetricsF(listing, &device).lineSpacing();
    const Layout l = layout(lineHeight / mm.perMm);

    auto footer = [&](int page) {
        p.setFont(footerFont());
        p.setPen(Qt::black);
        p.drawText(mm.rect(1, kPageHeight - kFooterHeight, 188, 4), Qt::AlignRight | Qt::AlignTop,
                   footerText(page, l.pageCount()));
    };

    // The cover.
    p.setFont(coverFont());
    p.setPen(Qt::black);
    p.drawText(mm.rect(30, 90, 133, 77), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, file_);
    footer(1);

    // The listing: left column, right column, next page.
    const int perPage = 2 * l.linesPerColumn;
    for (int page = 0; page < l.listingPages; ++page) {
        device.newPage();
        p.setFont(listingFont(true));
        p.setPen(QColor(0x80, 0, 0)); // maroon
        p.drawText(mm.rect(0, 0, 92, kHeaderHeight), Qt::AlignLeft | Qt::AlignTop, file1_);
        p.setFont(listing);
        p.setPen(Qt::black);
        const int first = page * perPage;
        const int last = std::min<int>(int(lines_.size()), first + perPage);
        for (int i = first; i < last; ++i) {
            const int inPage = i - first;
            const double x = inPage < l.linesPerColumn ? 0 : kColumnWidth;
            const double y = mm(kListingTop) + (inPage % l.linesPerColumn) * lineHeight;
            p.drawText(QRectF(mm(x), y, mm(kColumnWidth), lineHeight), Qt::AlignLeft | Qt::AlignTop,
                       lines_.at(i));
        }
        footer(page + 2);
    }
    return p.end();
}
