#pragma once

#include "ChartPatterns.h"
#include "ChartRange.h"
#include "ChartScale.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

struct ChartSource;

// Draws the chart pictures on a 645 x 393 surface from the main window's record table, its
// LoggerInfo and the type and unit texts of the instrument panel. Every drawing starts from
// a fresh white surface; nothing is smoothed, so each line and mark lands on exact pixels.
class ChartPainter {
public:
    static constexpr int kWidth = 645;
    static constexpr int kHeight = 393;

    // A text as it was put on the surface: its top-left corner, colours and size in points.
    struct TextDraw {
        QPoint at;
        QString text;
        QColor colour;
        QColor fill;
        int points = 0;
    };

    // A record whose value cell does not hold a number (a damaged file).
    struct Damage {
        int record = 0; // absolute record number
        QString cell;
    };

    explicit ChartPainter(const ChartSource& source);

    // The empty chart: header, axis captions, grid and the extremes captions.
    void DrawChartTemplate();
    // What every window drawing starts with: header, extremes captions and grid.
    void DrawWindowFrame();
    // Up to ten records of the range with the extremes of the whole measurement; leaves
    // scale() set. A measurement with a value that is not a number is not drawn: only the
    // frame is, and the first such record is returned.
    std::optional<Damage> DrawWindowChart(const ChartRange& range, ExtremesForm form);
    // Every record of the measurement, on the scale the last window drawing left.
    std::optional<Damage> DrawAllRecordsChart(const ChartRange& range);

    const QImage& image() const { return image_; }
    const ChartScale& scale() const { return scale_; }
    // The texts of the current picture, in drawing order.
    const QList<TextDraw>& texts() const { return texts_; }

    // Colours of the surface.
    static const QColor kRed, kBlue, kGreen, kTeal, kPurple, kBlack, kWhite;

private:
    void fresh();
    void finish();
    void header();
    void extremesCaptions();
    void windowGrid();
    void wideGrid();
    void ScanExtremes(const ChartRange& range, ExtremesForm form);
    void widenIfFlat();
    void valueAxisLabels();

    // The measurement's values as 32-bit numbers, or the first record that has none.
    std::optional<Damage> readValues(const ChartRange& range);
    float valueOfRow(const ChartRange& range, int row) const {
        return values_[size_t(row - range.F)];
    }

    int y(double v) const { return mapped(325, v); }
    int yl(double v) const { return mapped(320, v); }
    int mapped(int base, double v) const;

    void text(int x, int y, const QString& s);
    void setFontColour(const QColor& c) { fontColour_ = c; }
    void setFill(const QColor& c) { fill_ = c; }
    void setPoints(int points);
    void setPen(const QColor& c, int width);
    void line(int x1, int y1, int x2, int y2);

    const ChartSource& source_;
    QImage image_;
    QPainter painter_;
    ChartScale scale_;
    std::vector<float> values_;
    QList<TextDraw> texts_;

    QFont font_;
    int points_ = 0;
    QColor fontColour_;
    QColor fill_;
    QPen pen_;
};
