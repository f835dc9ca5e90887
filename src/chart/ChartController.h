#pragma once

#include "ChartPainter.h"
#include "ChartRange.h"
#include "ChartSource.h"
#include "ChartViewState.h"

#include <QString>

#include <optional>

// The chart window without its widgets: the measurement list, the start-record box, the
// two record fields, the enabled controls, the picture, and what each control does. The
// window renders this state and forwards its clicks.
class ChartController {
public:
    explicit ChartController(ChartSource source);
    ChartController(const ChartController&) = delete;
    ChartController& operator=(const ChartController&) = delete;

    // --- actions ---
    // The window is shown: texts of the language, the empty chart, one entry per
    // measurement and nothing selected.
    void FormShow();
    // An entry of the measurement list was selected; an index outside the list changes
    // nothing.
    void ListBox1Click(int index);
    // "Confirmar": the selected measurement from its first record.
    void Button2_Sel_MedClick();
    // The c-th listed start was picked.
    void ComboBox1Change(int index);
    // Text typed into the start box. A listed record (by its number) is taken as if picked;
    // anything else is refused, the box shows the last valid start again and the hint says
    // why.
    void ComboBox1Typed(const QString& text);
    // "Todos os registros".
    void Button1Click();
    // "Imprimir": writes the picture to "imagraf.bmp" (see DataFolder). False when it
    // could not be written (the user has been told why).
    bool Print1Click();
    // "Fechar".
    void Button2_FecharClick();

    // Writes the current picture as a bitmap; on failure tells the user and returns false.
    bool savePicture(const QString& path);

    // --- state ---
    const ChartViewState& view() const { return view_; }
    const QImage& picture() const { return painter_.image(); }
    const ChartPainter& painter() const { return painter_; }
    // The range of the last "Confirmar" and start, if a measurement is being shown.
    const std::optional<ChartRange>& range() const { return range_; }
    bool isOpen() const { return open_; }

private:
    void applyTexts();
    void warnDamaged(const ChartPainter::Damage& damage);
    void setRecordFields();

    ChartSource source_;
    ChartPainter painter_;
    ChartViewState view_;
    std::optional<ChartRange> range_;
    bool open_ = false;
};
