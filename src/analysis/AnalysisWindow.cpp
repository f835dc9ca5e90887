#include "AnalysisWindow.h"

#include "app/MainSession.h"
#include "app/Prompt.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

// The surface the chart is drawn on; it turns the mouse into zoom, pan and cursor moves.
class Canvas : public QWidget {
public:
    Canvas(AnalysisChart& chart, std::function<void()> cursorMoved, QWidget* parent)
        : QWidget(parent), chart_(chart), cursorMoved_(std::move(cursorMoved)) {
        setObjectName(QStringLiteral("canvas"));
        setMouseTracking(true);
        setMinimumSize(480, 300);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        chart_.paint(p, size());
        if (band_) {
            p.setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
            p.setBrush(QColor(100, 140, 220, 40));
            p.drawRect(band_->normalized());
        }
    }
    void wheelEvent(QWheelEvent* e) override {
        chart_.zoom(std::pow(0.85, e->angleDelta().y() / 120.0), e->position(), size());
        moveCursor(e->position());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            band_ = QRectF(e->position(), e->position());
        last_ = e->position();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (band_) {
            band_->setBottomRight(e->position());
            update();
            return;
        }
        if (e->buttons() & (Qt::RightButton | Qt::MiddleButton)) {
            chart_.pan(e->position() - last_, size());
            last_ = e->position();
        }
        moveCursor(e->position());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (band_ && e->button() == Qt::LeftButton) {
            chart_.zoomTo(*band_, size());
            band_.reset();
            moveCursor(e->position());
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        chart_.reset();
        moveCursor(e->position());
    }
    void leaveEvent(QEvent*) override {
        chart_.setCursor(std::nullopt, size());
        cursorMoved_();
        update();
    }

private:
    void moveCursor(QPointF at) {
        chart_.setCursor(at, size());
        cursorMoved_();
        update();
    }

    AnalysisChart& chart_;
    std::function<void()> cursorMoved_;
    std::optional<QRectF> band_;
    QPointF last_;
};

} // namespace

AnalysisWindow::AnalysisWindow(MainSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("AnalysisWindow"));
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    seriesRow_ = new QHBoxLayout;
    tools->addLayout(seriesRow_);
    tools->addStretch();
    reset_ = new QPushButton(this);
    png_ = new QPushButton(this);
    svg_ = new QPushButton(this);
    for (QPushButton* b : {reset_, png_, svg_})
        tools->addWidget(b);
    layout->addLayout(tools);
    cursor_ = new QLabel(this);
    cursor_->setObjectName(QStringLiteral("cursor"));
    canvas_ = new Canvas(
        chart_, [this] { cursor_->setText(chart_.cursorText()); }, this);
    layout->addWidget(canvas_, 1);
    auto* bottom = new QHBoxLayout;
    hint_ = new QLabel(this);
    bottom->addWidget(cursor_);
    bottom->addStretch();
    bottom->addWidget(hint_);
    layout->addLayout(bottom);
    resize(1000, 620);

    connect(reset_, &QPushButton::clicked, this, [this] {
        chart_.reset();
        canvas_->update();
    });
    connect(png_, &QPushButton::clicked, this, [this] { exportAs(QStringLiteral("png")); });
    connect(svg_, &QPushButton::clicked, this, [this] { exportAs(QStringLiteral("svg")); });
    connect(&session_, &MainSession::viewChanged, this, [this] {
        if (isVisible())
            refresh();
    });
}

void AnalysisWindow::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void AnalysisWindow::refresh() {
    setWindowTitle(session_.text(Txt::Analise1));
    reset_->setText(session_.text(Txt::AnalysisReset));
    png_->setText(session_.text(Txt::AnalysisExportPng));
    svg_->setText(session_.text(Txt::AnalysisExportSvg));
    hint_->setText(session_.text(Txt::AnalysisHint));
    chart_.setWords({session_.text(Txt::AnalysisRecord), session_.text(Txt::AnalysisTime),
                     session_.text(Txt::AnalysisMeasurement), session_.text(Txt::StatsLower),
                     session_.text(Txt::StatsUpper)});
    // New records start from the full view; new limits keep the zoom.
    if (session_.records().revision() != shownRevision_) {
        shownRevision_ = session_.records().revision();
        chart_.setData(session_.recordView(), session_.limits());
        rebuildSeriesBoxes();
    } else {
        chart_.setLimits(session_.limits());
    }
    cursor_->setText(chart_.cursorText());
    canvas_->update();
}

void AnalysisWindow::rebuildSeriesBoxes() {
    qDeleteAll(seriesBoxes_);
    seriesBoxes_.clear();
    const QList<AnalysisChart::Series>& series = chart_.series();
    for (int i = 0; i < series.size(); ++i) {
        auto* box = new QCheckBox(QStringLiteral("%1 %2")
                                      .arg(session_.text(Txt::AnalysisMeasurement))
                                      .arg(series[i].measurement),
                                  this);
        box->setChecked(series[i].visible);
        box->setStyleSheet(QStringLiteral("color: %1").arg(series[i].colour.name()));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            chart_.setVisible(i, on);
            cursor_->setText(chart_.cursorText());
            canvas_->update();
        });
        seriesRow_->addWidget(box);
        seriesBoxes_ << box;
    }
}

bool AnalysisWindow::exportTo(const QString& path) {
    QString error;
    if (chart_.save(path, canvas_->size(), &error))
        return true;
    session_.prompt().message(session_.text(Txt::ChartPictureCannotWrite).arg(path, error));
    return false;
}

void AnalysisWindow::exportAs(const QString& suffix) {
    const QString path =
        QFileDialog::getSaveFileName(this, {}, QStringLiteral("analysis.") + suffix,
                                     suffix.toUpper() + QStringLiteral(" (*.") + suffix + u')');
    if (!path.isEmpty())
        exportTo(path);
}
