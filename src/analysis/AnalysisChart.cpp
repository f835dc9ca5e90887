#include "AnalysisChart.h"

#include "records/AtomicFile.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kLeft = 72, kRight = 16, kTop = 34, kBottom = 46;

const std::array<QColor, 8> kPalette = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                        QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd),
                                        QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2),
                                        QColor(0x7f, 0x7f, 0x7f), QColor(0x17, 0xbe, 0xcf)};
const QColor kUpperColour(220, 0, 0);
const QColor kLowerColour(0, 0, 220);

// A step of 1, 2 or 5 times a power of ten that gives about `ticks` intervals over `span`.
double niceStep(double span, int ticks) {
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

// Time steps a clock reader expects, in seconds.
double timeStep(double span, int ticks) {
    static constexpr double kSteps[] = {1,     2,     5,     10,    15,     30,     60,
                                        120,   300,   600,   900,   1800,   3600,   7200,
                                        10800, 21600, 43200, 86400, 172800, 604800, 2592000};
    const double raw = span / ticks;
    for (const double s : kSteps)
        if (s >= raw)
            return s;
    return niceStep(span, ticks);
}

QFont chartFont(double pixels) {
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(int(pixels));
    return f;
}

QString decimalText(double v, double step) {
    const int decimals = step >= 1 ? 0 : std::min(6, int(std::ceil(-std::log10(step) - 1e-9)));
    return QString::number(v, 'f', decimals);
}

} // namespace

void AnalysisChart::setData(const RecordView& view, const Limits& limits) {
    series_.clear();
    cursor_.reset();
    unit_ = view.unit;
    limits_ = limits;
    // A real time axis needs a time on every record; else the records stand at their numbers.
    timeAxis_ = view.recordCount() > 0;
    for (const MeasurementRecords& m : view.measurements)
        for (const TypedRecord& r : m.records)
            if (r.value && !r.time.isValid())
                timeAxis_ = false;
    for (qsizetype i = 0; i < view.measurements.size(); ++i) {
        const MeasurementRecords& m = view.measurements[i];
        Series s;
        s.measurement = m.number.value_or(int(i) + 1);
        s.colour = kPalette[size_t(i) % kPalette.size()];
        for (const TypedRecord& r : m.records) {
            if (!r.value)
                continue;
            const int record = r.record.value_or(0);
            const double x = timeAxis_ ? double(r.time.toSecsSinceEpoch()) : double(record);
            s.points.push_back({x, r.value->value(), record, r.time, *r.value});
        }
        std::stable_sort(s.points.begin(), s.points.end(),
                         [](const Point& a, const Point& b) { return a.x < b.x; });
        series_.append(std::move(s));
    }
    reset();
}

void AnalysisChart::setLimits(const Limits& limits) {
    limits_ = limits;
}

void AnalysisChart::setVisible(int series, bool visible) {
    if (series >= 0 && series < series_.size())
        series_[series].visible = visible;
    if (cursor_ && cursor_->series == series && !visible)
        cursor_.reset();
}

AnalysisChart::Range AnalysisChart::full() const {
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const Series& s : series_) {
        if (!s.visible || s.points.empty())
            continue;
        x0 = std::min(x0, s.points.front().x);
        x1 = std::max(x1, s.points.back().x);
        for (const Point& p : s.points) {
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    for (const auto& limit : {limits_.lower, limits_.upper}) {
        if (limit) {
            y0 = std::min(y0, *limit);
            y1 = std::max(y1, *limit);
        }
    }
    if (x0 > x1)
        x0 = 0, x1 = 1;
    if (y0 > y1)
        y0 = 0, y1 = 1;
    if (x1 - x0 <= 0)
        x0 -= 1, x1 += 1;
    const double pad = y1 - y0 > 0 ? 0.05 * (y1 - y0) : std::max(1.0, std::abs(y0) * 0.05);
    return {x0, x1, y0 - pad, y1 + pad};
}

void AnalysisChart::setRange(const Range& r) {
    // Never narrower than the doubles tell apart well (about two seconds on a time axis).
    auto wideEnough = [](double a, double b) {
        return b - a > 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
    };
    if (!wideEnough(r.x0, r.x1) || !wideEnough(r.y0, r.y1))
        return;
    range_ = r;
}

QRectF AnalysisChart::plotArea(QSize size) {
    return QRectF(kLeft, kTop, std::max(1.0, size.width() - kLeft - kRight),
                  std::max(1.0, size.height() - kTop - kBottom));
}

QPointF AnalysisChart::toPixel(double x, double y, QSize size) const {
    const QRectF a = plotArea(size);
    return {a.left() + (x - range_.x0) / (range_.x1 - range_.x0) * a.width(),
            a.top() + (range_.y1 - y) / (range_.y1 - range_.y0) * a.height()};
}

QPointF AnalysisChart::toData(QPointF pixel, QSize size) const {
    const QRectF a = plotArea(size);
    return {range_.x0 + (pixel.x() - a.left()) / a.width() * (range_.x1 - range_.x0),
            range_.y1 - (pixel.y() - a.top()) / a.height() * (range_.y1 - range_.y0)};
}

void AnalysisChart::zoom(double factor, QPointF anchor, QSize size) {
    const QPointF d = toData(anchor, size);
    setRange({d.x() - (d.x() - range_.x0) * factor, d.x() + (range_.x1 - d.x()) * factor,
              d.y() - (d.y() - range_.y0) * factor, d.y() + (range_.y1 - d.y()) * factor});
}

void AnalysisChart::zoomTo(QRectF pixels, QSize size) {
    pixels = pixels.normalized();
    if (pixels.width() < 3 || pixels.height() < 3)
        return; // a click, not a drag
    const QPointF a = toData(pixels.topLeft(), size);
    const QPointF b = toData(pixels.bottomRight(), size);
    setRange({a.x(), b.x(), b.y(), a.y()});
}

void AnalysisChart::pan(QPointF delta, QSize size) {
    const QRectF a = plotArea(size);
    const double dx = delta.x() / a.width() * (range_.x1 - range_.x0);
    const double dy = delta.y() / a.height() * (range_.y1 - range_.y0);
    setRange({range_.x0 - dx, range_.x1 - dx, range_.y0 + dy, range_.y1 + dy});
}

void AnalysisChart::setCursor(std::optional<QPointF> pixel, QSize size) {
    cursor_.reset();
    if (!pixel || !plotArea(size).contains(*pixel))
        return;
    double best = INFINITY;
    for (qsizetype i = 0; i < series_.size(); ++i) {
        const Series& s = series_[i];
        if (!s.visible)
            continue;
        for (const Point& p : s.points) {
            if (p.x < range_.x0 || p.x > range_.x1 || p.y < range_.y0 || p.y > range_.y1)
                continue;
            const QPointF at = toPixel(p.x, p.y, size);
            const double d = std::hypot(at.x() - pixel->x(), at.y() - pixel->y());
            if (d < best) {
                best = d;
                cursor_ = Hit{int(i), p};
            }
        }
    }
}

QString AnalysisChart::cursorText() const {
    if (!cursor_)
        return {};
    const Point& p = cursor_->point;
    QString text = QStringLiteral("%1 %2").arg(words_.record).arg(p.record, 4, 10, QChar(u'0'));
    if (p.time.isValid())
        text += QStringLiteral("   ") + p.time.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    text += QStringLiteral("   ") + p.value.plain() + u' ' + unit_;
    return text;
}

QString AnalysisChart::xLabel(double x, double step) const {
    if (!timeAxis_)
        return QString::number(qint64(std::llround(x)));
    const QDateTime t = QDateTime::fromSecsSinceEpoch(qint64(std::llround(x)), Qt::UTC);
    if (step < 60)
        return t.toString(QStringLiteral("HH:mm:ss"));
    if (step < 86400)
        return t.toString(QStringLiteral("dd/MM HH:mm"));
    return t.toString(QStringLiteral("dd/MM/yyyy"));
}

void AnalysisChart::paint(QPainter& p, QSize size) const {
    p.save();
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QRectF area = plotArea(size);
    paintAxes(p, area);
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, true);
    paintLimits(p, area, size);
    paintSeries(p, area, size);
    paintCursor(p, area, size);
    p.restore();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    paintLegend(p, area);
    p.restore();
}

void AnalysisChart::paintAxes(QPainter& p, const QRectF& area) const {
    p.setFont(chartFont(11));
    const QFontMetricsF fm(p.font());
    const QPen grid(QColor(225, 225, 225), 1);

    const double yStep = niceStep(range_.y1 - range_.y0, 8);
    for (double v = std::ceil(range_.y0 / yStep) * yStep; v <= range_.y1; v += yStep) {
        const double y = area.top() + (range_.y1 - v) / (range_.y1 - range_.y0) * area.height();
        p.setPen(grid);
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(Qt::black);
        const QString label = decimalText(std::abs(v) < yStep * 1e-9 ? 0.0 : v, yStep);
        p.drawText(QRectF(0, y - fm.height() / 2, area.left() - 6, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, label);
    }

    const double span = range_.x1 - range_.x0;
    const int ticks = std::max(2, int(area.width() / 110));
    const double xStep = timeAxis_ ? timeStep(span, ticks) : std::max(1.0, niceStep(span, ticks));
    for (double v = std::ceil(range_.x0 / xStep) * xStep; v <= range_.x1; v += xStep) {
        const double x = area.left() + (v - range_.x0) / span * area.width();
        p.setPen(grid);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        if (x + 40 > area.right() + kRight)
            continue; // the label would be cut at the edge
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 60, area.bottom() + 4, 120, fm.height()), Qt::AlignHCenter,
                   xLabel(v, xStep));
    }
    p.drawText(QRectF(area.left(), area.bottom() + 6 + fm.height(), area.width(), fm.height()),
               Qt::AlignHCenter, timeAxis_ ? words_.time : words_.record);
    p.drawText(QRectF(4, 4, kLeft, fm.height()), Qt::AlignLeft, unit_);
}

void AnalysisChart::paintSeries(QPainter& p, const QRectF& area, QSize size) const {
    for (const Series& s : series_) {
        if (!s.visible || s.points.empty())
            continue;
        // Only the points in view, with one on each side so the line leaves the edge.
        auto first = std::lower_bound(s.points.begin(), s.points.end(), range_.x0,
                                      [](const Point& pt, double x) { return pt.x < x; });
        auto last = std::upper_bound(s.points.begin(), s.points.end(), range_.x1,
                                     [](double x, const Point& pt) { return x < pt.x; });
        if (first != s.points.begin())
            --first;
        if (last != s.points.end())
            ++last;
        QPolygonF line;
        line.reserve(last - first);
        for (auto it = first; it != last; ++it)
            line << toPixel(it->x, it->y, size);
        QPen pen(s.colour, 1);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        // Marks on the records once they stand apart.
        if (line.size() > 1 && line.size() * 4 < area.width()) {
            p.setBrush(s.colour);
            for (const QPointF& pt : line)
                p.drawEllipse(pt, 2.5, 2.5);
        }
    }
}

void AnalysisChart::paintLimits(QPainter& p, const QRectF& area, QSize size) const {
    p.setFont(chartFont(11));
    const QFontMetricsF fm(p.font());
    auto draw = [&](const std::optional<double>& limit, const QColor& colour, const QString& name,
                    bool above) {
        if (!limit)
            return;
        const double y = toPixel(range_.x0, *limit, size).y();
        p.setPen(QPen(colour, 1.5, Qt::DashLine));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(colour);
        const QString text = name + QStringLiteral(" ") + QString::number(*limit, 'g', 10);
        p.drawText(QPointF(area.right() - fm.horizontalAdvance(text) - 4,
                           above ? y - 4 : y + fm.ascent() + 2),
                   text);
    };
    draw(limits_.upper, kUpperColour, words_.upper, true);
    draw(limits_.lower, kLowerColour, words_.lower, false);
}

void AnalysisChart::paintLegend(QPainter& p, const QRectF& area) const {
    p.setFont(chartFont(11));
    const QFontMetricsF fm(p.font());
    double x = area.left() + 40;
    const double y = 10;
    for (const Series& s : series_) {
        if (!s.visible)
            continue;
        const QString name = QStringLiteral("%1 %2").arg(words_.measurement).arg(s.measurement);
        p.fillRect(QRectF(x, y + 3, 14, 8), s.colour);
        p.setPen(Qt::black);
        p.drawText(QPointF(x + 18, y + fm.ascent()), name);
        x += 18 + fm.horizontalAdvance(name) + 14;
        if (x > area.right() - 60)
            break;
    }
}

void AnalysisChart::paintCursor(QPainter& p, const QRectF& area, QSize size) const {
    if (!cursor_)
        return;
    const QPointF at = toPixel(cursor_->point.x, cursor_->point.y, size);
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
    p.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(series_[cursor_->series].colour);
    p.drawEllipse(at, 5, 5);

    p.setFont(chartFont(12));
    const QFontMetricsF fm(p.font());
    const QString text = cursorText();
    QRectF box(0, 0, fm.horizontalAdvance(text) + 12, fm.height() + 8);
    box.moveTopLeft(at + QPointF(10, -box.height() - 10));
    if (box.right() > area.right())
        box.moveRight(at.x() - 10);
    if (box.top() < area.top())
        box.moveTop(at.y() + 10);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(255, 255, 225));
    p.drawRect(box);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, text);
}

bool AnalysisChart::save(const QString& path, QSize size, QString* error) const {
    const bool svgWanted = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const AtomicFile::Result result = AtomicFile::write(path, [&](QIODevice& device) {
        if (svgWanted) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            QPainter p;
            if (!p.begin(&svg))
                return false;
            paint(p, size);
            return p.end();
        }
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        paint(p, size);
        p.end();
        return image.save(&device, "PNG");
    });
    if (result.ok())
        return true;
    *error =
        result.reason.isEmpty() ? QStringLiteral("the picture could not be drawn") : result.reason;
    return false;
}
