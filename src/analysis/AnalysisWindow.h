#pragma once

#include "AnalysisChart.h"

#include <QDialog>
#include <QList>

class MainSession;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

// "Análise": the interactive chart of every record. The mouse wheel zooms, a dragged
// rectangle zooms to it, the right button pans, a double click resets; the cursor follows the
// nearest record. The visible view exports as PNG or SVG.
class AnalysisWindow : public QDialog {
    Q_OBJECT
public:
    explicit AnalysisWindow(MainSession& session, QWidget* parent = nullptr);

    AnalysisChart& chart() { return chart_; }
    QWidget* canvas() const { return canvas_; }
    // Writes the visible view at the canvas's size; false after telling the user.
    bool exportTo(const QString& path);

public slots:
    // Takes the session's records and limits again when they changed.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuildSeriesBoxes();
    void exportAs(const QString& suffix);

    MainSession& session_;
    AnalysisChart chart_;
    QWidget* canvas_ = nullptr;
    QHBoxLayout* seriesRow_ = nullptr;
    QList<QCheckBox*> seriesBoxes_;
    QPushButton *reset_ = nullptr, *png_ = nullptr, *svg_ = nullptr;
    QLabel *hint_ = nullptr, *cursor_ = nullptr;
    quint64 shownRevision_ = ~quint64(0);
};
