#include "ChartReport.h"

#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace ChartReport {

bool print(QPagedPaintDevice& device, const QImage& picture) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const double perMm = device.logicalDpiY() / 25.4;
    const QRectF frame(19 * perMm, 14 * perMm, 229 * perMm, 145 * perMm);
    p.fillRect(frame, Qt::white); // the frame is not transparent
    if (picture.isNull()) {
        p.setPen(Qt::gray);
        p.drawRect(frame);
    } else {
        // The picture keeps its proportions, centred in the frame.
        QSizeF size = picture.size();
        size.scale(frame.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(), size);
        target.moveCenter(frame.center());
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(target, picture);
    }
    return p.end();
}

} // namespace ChartReport
