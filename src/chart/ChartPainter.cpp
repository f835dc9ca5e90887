#include "ChartPainter.h"

#include "ChartSource.h"
#include "app/MainControls.h"
#include "app/Prompt.h"
#include "records/RecordTable.h"
#include "records/RecordView.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

const QColor ChartPainter::kRed(255, 0, 0);
const QColor ChartPainter::kBlue(0, 0, 255);
const QColor ChartPainter::kGreen(0, 128, 0);
const QColor ChartPainter::kTeal(0, 128, 128);
const QColor ChartPainter::kPurple(128, 0, 128);
const QColor ChartPainter::kBlack(0, 0, 0);
const QColor ChartPainter::kWhite(255, 255, 255);

namespace {

// The size of a text that sets none: the type line of the header.
constexpr int kDefaultPoints = 8;

// Points to pixels at 96 dots per inch, so the picture does not depend on the screen.
int pixelsOf(int points) {
    return (points * 96 + 36) / 72;
}

// Plot area of the window chart and of the all-records chart.
constexpr int kLeft = 75, kTop = 75, kBottom = 325;
constexpr int kWindowRight = 570, kWideRight = 625;

// The surface is 96 dots per inch, as a display's bitmap would be.
constexpr int kDotsPerMetre = 3780;

} // namespace

ChartPainter::ChartPainter(const ChartSource& source) : source_(source) {
    // Liberation Sans has the widths of the face the windows were designed with.
    font_.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font_.setStyleStrategy(QFont::NoAntialias);
    DrawChartTemplate();
}

void ChartPainter::fresh() {
    image_ = QImage(kWidth, kHeight, QImage::Format_RGB32);
    image_.setDotsPerMeterX(kDotsPerMetre);
    image_.setDotsPerMeterY(kDotsPerMetre);
    image_.fill(kWhite);
    texts_.clear();
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    fill_ = kWhite;
    fontColour_ = kBlack;
    setPoints(kDefaultPoints);
    setPen(kBlack, 1);
}

void ChartPainter::finish() {
    painter_.end();
}

void ChartPainter::setPoints(int points) {
    points_ = points;
    font_.setPixelSize(pixelsOf(points));
}

void ChartPainter::setPen(const QColor& c, int width) {
    pen_ = QPen(c, width);
    // Thick lines end and join round; thin ones cover exactly the pixels from end to end.
    pen_.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen_.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
}

void ChartPainter::line(int x1, int y1, int x2, int y2) {
    painter_.setPen(pen_);
    painter_.drawLine(x1, y1, x2, y2);
}

void ChartPainter::text(int x, int y, const QString& s) {
    // Text is opaque: its cell is filled first, so it hides whatever lay there.
    const QFontMetrics fm(font_);
    painter_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.ascent() + fm.descent()), fill_);
    painter_.setFont(font_);
    painter_.setPen(fontColour_);
    painter_.drawText(x, y + fm.ascent(), s);
    texts_.append({QPoint(x, y), s, fontColour_, fill_, points_});
}

int ChartPainter::mapped(int base, double v) const {
    const double scale = scale_.scale;
    const double offset = scale > 0 ? 100.0 * (v - double(scale_.lowest)) / scale : 0.0;
    double r = std::trunc(double(base) - offset);
    // Far outside the surface every position draws alike; keep it a valid pixel number.
    constexpr double kFar = 1e6;
    if (!(r > -kFar))
        r = -kFar;
    if (r > kFar)
        r = kFar;
    return int(r);
}

void ChartPainter::header() {
    fresh();
    setFontColour(kRed);
    text(25, 20, source_.controls.view.Label13);
    setPoints(10);
    text(25, 45, source_.controls.view.Label14);
    setFontColour(kBlue);
    setPoints(8);
}

void ChartPainter::extremesCaptions() {
    setFontColour(kTeal);
    text(170, 35, source_.controls.text(Txt::ChartLowest));
    text(355, 35, source_.controls.text(Txt::ChartRecordNumber));
    text(170, 15, source_.controls.text(Txt::ChartHighest));
    text(355, 15, source_.controls.text(Txt::ChartRecordNumber));
}

void ChartPainter::windowGrid() {
    setPen(kGreen, 1);
    for (int i = 0; i <= 9; ++i)
        line(kLeft + 55 * i, kTop, kLeft + 55 * i, kBottom);
    for (int i = 0; i <= 10; ++i)
        line(kLeft, kTop + 25 * i, kWindowRight, kTop + 25 * i);
    setPen(kBlack, 1);
}

void ChartPainter::wideGrid() {
    setPen(kGreen, 1);
    for (int i = 0; i <= 20; ++i) {
        const int x = int(75.0 + 27.5 * i);
        line(x, kTop, x, kBottom);
    }
    for (int i = 0; i <= 10; ++i)
        line(kLeft, kTop + 25 * i, kWideRight, kTop + 25 * i);
    setPen(kBlack, 1);
}

void ChartPainter::DrawChartTemplate() {
    header();
    text(600, 335, source_.controls.text(Txt::ChartAxisTime));
    text(600, 355, source_.controls.text(Txt::ChartAxisDate));
    text(600, 375, source_.controls.text(Txt::ChartAxisRecord));
    windowGrid();
    extremesCaptions();
    finish();
}

void ChartPainter::DrawWindowFrame() {
    header();
    extremesCaptions();
    windowGrid();
    setFontColour(kBlue);
    finish();
}

std::optional<ChartPainter::Damage> ChartPainter::readValues(const ChartRange& range) {
    values_.clear();
    values_.reserve(size_t(std::max(range.R, 0)));
    const RecordSet& records = source_.table.records();
    const RecordView& view = source_.table.recordView();
    for (int row = range.F; row < range.F + range.R; ++row) {
        const TypedRecord* record = view.atRow(row);
        const float f = record && record->value ? float(record->value->value()) : 0.0f;
        if (!record || !record->value || !std::isfinite(f))
            return Damage{range.numberOfRow(row),
                          row < records.rowCountTotal() ? records.cell(row, 3) : QString()};
        values_.push_back(f);
    }
    return std::nullopt;
}

void ChartPainter::ScanExtremes(const ChartRange& range, ExtremesForm form) {
    const int decimalsCode = source_.table.loggerInfo.decimalsCode;
    const QChar separator = source_.table.regional().decimalSeparator;
    const QString blanks = QStringLiteral("     ");
    text(435, 35, QStringLiteral("1"));
    text(435, 15, QStringLiteral("1"));
    scale_.lowest = values_.front();
    scale_.highest = values_.front();
    const int lastRow = range.F + range.R - 1;
    for (int row = range.F; row <= lastRow; ++row) {
        const float v = valueOfRow(range, row);
        // Ties go to the later record.
        if (v <= scale_.lowest) {
            scale_.lowest = v;
            text(435, 35, blanks);
            text(435, 35, QString::number(range.numberOfRow(row)));
        }
        text(300, 35, blanks);
        text(300, 35, ChartPatterns::extremesText(scale_.lowest, decimalsCode, form, separator));
        if (v >= scale_.highest) {
            scale_.highest = v;
            text(435, 15, blanks);
            text(435, 15, QString::number(range.numberOfRow(row)));
        }
        text(300, 15, blanks);
        text(300, 15, ChartPatterns::extremesText(scale_.highest, decimalsCode, form, separator));
    }
}

void ChartPainter::widenIfFlat() {
    scale_.span = float(double(scale_.highest) - double(scale_.lowest));
    scale_.scale = float(0.4 * double(scale_.span));
    const double step = ChartPatterns::step(source_.table.loggerInfo.decimalsCode);
    if (double(scale_.scale) < step) {
        // Too flat to read: the axis spans at least one step each side of the first value.
        const double first = double(values_.front());
        scale_.lowest = float(first - step);
        scale_.highest = float(first + step);
        for (const float v : values_) {
            if (v <= scale_.lowest)
                scale_.lowest = v;
            if (v >= scale_.highest)
                scale_.highest = v;
        }
        scale_.span = float(double(scale_.highest) - double(scale_.lowest));
        scale_.scale = float(0.4 * double(scale_.span));
    }
    scale_.labelStep = float(0.1 * double(scale_.span));
}

void ChartPainter::valueAxisLabels() {
    const QString pattern = ChartPatterns::axisLabel(source_.table.loggerInfo.decimalsCode);
    const QChar separator = source_.table.regional().decimalSeparator;
    setFontColour(kBlack);
    for (int n = 0; n <= 10; ++n) {
        const double v = double(scale_.lowest) + n * double(scale_.labelStep);
        text(25, 318 - 25 * n, ChartPatterns::format(v, pattern, separator));
    }
}

std::optional<ChartPainter::Damage> ChartPainter::DrawWindowChart(const ChartRange& range,
                                                                  ExtremesForm form) {
    const std::optional<Damage> damage = readValues(range);
    if (damage || range.R <= 0 || range.w <= 0) {
        DrawWindowFrame();
        return damage;
    }
    header();
    extremesCaptions();
    windowGrid();
    setFontColour(kBlue);

    ScanExtremes(range, form);
    widenIfFlat();

    const int w = std::min(range.w, range.F + range.R - range.S);
    auto pointX = [](int k) { return 55 * k + 20; };
    auto valueAt = [&](int k) { return valueOfRow(range, range.S + k - 1); };

    setPen(kRed, 2);
    for (int k = 2; k <= w; ++k)
        line(pointX(k - 1), y(valueAt(k - 1)), pointX(k), y(valueAt(k)));

    setPen(kPurple, 1);
    line(kLeft, y(0), kWindowRight, y(0));
    setPen(kBlack, 1);
    setFontColour(kPurple);
    text(68, yl(0), QStringLiteral("0"));

    setFontColour(kBlue);
    setPoints(2);
    setFill(kBlack);
    for (int k = 1; k <= w; ++k)
        text(pointX(k), y(valueAt(k)), QStringLiteral(" "));

    setPoints(8);
    setFill(kWhite);
    const QString pattern = ChartPatterns::pointLabel(source_.table.loggerInfo.decimalsCode);
    const QChar separator = source_.table.regional().decimalSeparator;
    for (int k = 1; k <= w; ++k)
        text(55 * k + 30, yl(valueAt(k)), ChartPatterns::format(valueAt(k), pattern, separator));

    setFontColour(kPurple);
    text(68, yl(0), QStringLiteral("0"));

    valueAxisLabels();

    setFontColour(kBlack);
    const RecordSet& records = source_.table.records();
    for (int k = 1; k <= w; ++k) {
        const RecordSet::Row& row = records.row(range.S + k - 1);
        text(55 * k - 5, 335, row[2]);
        text(55 * k - 5, 355, row[1]);
        text(55 * k - 5, 375, row[0]);
    }
    finish();
    return std::nullopt;
}

std::optional<ChartPainter::Damage> ChartPainter::DrawAllRecordsChart(const ChartRange& range) {
    const std::optional<Damage> damage = readValues(range);
    header();
    text(300, 355, source_.controls.text(Txt::ChartAxisRecord));
    wideGrid();
    if (damage || range.R <= 0) {
        finish();
        return damage;
    }

    // The axis is laid out for a whole measurement; records beyond N (a last measurement
    // that holds more) widen it so that none falls off the plot.
    const int columns = std::max(range.N, range.R);
    const float stepX = 550.0f / float(columns);
    auto x = [&](int j) { return int(75.0 + j * double(stepX)); };

    setPen(kRed, 1);
    int fromX = x(1), fromY = y(values_[0]);
    for (int j = 1; j <= range.R; ++j) {
        const int toX = x(j), toY = y(values_[size_t(j - 1)]);
        line(fromX, fromY, toX, toY);
        fromX = toX;
        fromY = toY;
    }
    setPen(kBlack, 1);

    setFontColour(kPurple);
    text(68, yl(0), QStringLiteral("0"));

    valueAxisLabels();

    // Every d-th record is labelled; fewer than ten columns label every record.
    setFontColour(kBlack);
    const int d = std::max(columns / 10, 1);
    const QChar separator = source_.table.regional().decimalSeparator;
    int labelX = 70;
    for (int i = 0; double(i) <= double(columns) / d; ++i) {
        text(
            labelX, 335,
            ChartPatterns::format(range.m * range.N + i * d, QStringLiteral(" #####0"), separator));
        labelX = int(labelX + double(stepX) * d);
    }
    finish();
    return std::nullopt;
}
