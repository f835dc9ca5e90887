#pragma once

#include "Limits.h"
#include "records/RecordCells.h"
#include "records/RecordView.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// The interactive chart: every record of every measurement on a real time axis (on record
// numbers when the records carry no date), a series per measurement, the limit lines and a
// cursor on the nearest record. It keeps the visible range; zoom, pan and the cursor take
// pixel positions on a surface of a given size. Pure drawing: any widget, image or SVG
// generator can show it.
class AnalysisChart {
public:
    struct Point {
        double x = 0; // seconds since the epoch, or the record number
        double y = 0;
        int record = 0;
        QDateTime time;
        RecordCells::CellNumber value;
    };
    struct Series {
        int measurement = 0;
        std::vector<Point> points; // by x
        bool visible = true;
        QColor colour;
    };
    struct Range {
        double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
        bool operator==(const Range&) const = default;
    };
    // The words the chart writes, in the interface language.
    struct Words {
        QString record = QStringLiteral("Record");
        QString time = QStringLiteral("Time");
        QString measurement = QStringLiteral("M");
        QString lower = QStringLiteral("Lower limit");
        QString upper = QStringLiteral("Upper limit");
    };

    void setData(const RecordView& view, const Limits& limits);
    void setLimits(const Limits& limits);
    void setWords(Words words) { words_ = std::move(words); }
    void setVisible(int series, bool visible);

    const QList<Series>& series() const { return series_; }
    bool timeAxis() const { return timeAxis_; }
    const Limits& limits() const { return limits_; }

    // The range that shows every visible record and the limits.
    Range full() const;
    const Range& range() const { return range_; }
    void setRange(const Range& r);
    void reset() { range_ = full(); }

    // Zooms by `factor` (below 1 magnifies) keeping the data under `anchor` in place.
    void zoom(double factor, QPointF anchor, QSize size);
    // Shows what lies inside a rectangle of pixels.
    void zoomTo(QRectF pixels, QSize size);
    // Moves the view by a drag of `delta` pixels.
    void pan(QPointF delta, QSize size);

    // The cursor snaps to the visible record nearest to a pixel; nullopt hides it.
    void setCursor(std::optional<QPointF> pixel, QSize size);
    struct Hit {
        int series = 0;
        Point point;
    };
    const std::optional<Hit>& cursor() const { return cursor_; }
    // The text the cursor shows: record number, date-time and value.
    QString cursorText() const;

    void paint(QPainter& p, QSize size) const;
    // Writes the view as SVG or PNG, by the name's suffix (any other suffix is PNG); an
    // earlier file stays unless the whole picture was written. The error is for the user.
    bool save(const QString& path, QSize size, QString* error) const;

    // The plotting area inside a surface.
    static QRectF plotArea(QSize size);

private:
    QPointF toPixel(double x, double y, QSize size) const;
    QPointF toData(QPointF pixel, QSize size) const;
    void paintAxes(QPainter& p, const QRectF& area) const;
    void paintSeries(QPainter& p, const QRectF& area, QSize size) const;
    void paintLimits(QPainter& p, const QRectF& area, QSize size) const;
    void paintLegend(QPainter& p, const QRectF& area) const;
    void paintCursor(QPainter& p, const QRectF& area, QSize size) const;
    QString xLabel(double x, double step) const;

    QList<Series> series_;
    Limits limits_;
    QString unit_;
    Words words_;
    bool timeAxis_ = true;
    Range range_;
    std::optional<Hit> cursor_;
};
