#include "ChartController.h"

#include "ChartPicture.h"
#include "app/MainControls.h"
#include "app/Prompt.h"
#include "records/RecordTable.h"

#include <QFileInfo>

ChartController::ChartController(ChartSource source)
    : source_(std::move(source)), painter_(source_) {
    applyTexts();
}

void ChartController::applyTexts() {
    view_.caption = source_.controls.text(Txt::ChartCaption);
    view_.Button1.caption = source_.controls.text(Txt::ChartButton1);
    view_.Print1.caption = source_.controls.text(Txt::ChartPrint1);
    view_.Label1 = source_.controls.text(Txt::ChartLabel1);
    view_.Label2 = source_.controls.text(Txt::ChartLabel2);
    view_.Label3 = source_.controls.text(Txt::ChartLabel3);
    view_.Label4 = source_.controls.text(Txt::ChartLabel4);
    view_.Button2_Sel_Med.caption = source_.controls.text(Txt::ChartConfirmar);
    view_.Button2_Fechar.caption = source_.controls.text(Txt::ChartFechar);
}

void ChartController::FormShow() {
    open_ = true;
    applyTexts();
    painter_.DrawChartTemplate();
    view_.ComboBox1Items.clear();
    view_.ComboBox1Index = -1;

    view_.ListBox1.clear();
    for (int i = 1; i <= source_.table.loggerInfo.storedMeasurements; ++i)
        view_.ListBox1 << QStringLiteral("M") + QString::asprintf("  %2.2d   ", i);
    view_.ListBox1Index = -1;

    view_.Edit1 = {};
    view_.Edit2 = {};
    view_.ComboBox1Text.clear();
    view_.ComboBox1Enabled = false;
    view_.StartHint.clear();
    view_.Button1.enabled = false;
    view_.Button2_Sel_Med.enabled = false;
    view_.Button2_Fechar.enabled = true;
    view_.Print1.enabled = false;
    range_.reset();
}

void ChartController::ListBox1Click(int index) {
    if (index < 0 || index >= view_.ListBox1.size())
        return;
    view_.ListBox1Index = index;
    view_.Button2_Sel_Med.enabled = true;
    view_.StartHint.clear();
    // The scale of the picture belongs to the measurement drawn last; nothing may use it
    // for another one until it is confirmed.
    view_.ComboBox1Enabled = false;
    view_.Button1.enabled = false;
}

void ChartController::setRecordFields() {
    view_.Edit1.text = QString::number(range_->windowEnd());
    view_.Edit2.text = QString::number(range_->L);
}

void ChartController::Button2_Sel_MedClick() {
    if (!view_.Button2_Sel_Med.enabled || view_.ListBox1Index < 0)
        return;
    const LoggerInfo& info = source_.table.loggerInfo;
    const ChartRange range =
        ChartRange::confirmed(view_.ListBox1Index, info.storedMeasurements,
                              info.recordsPerMeasurement, source_.table.chartRecordTotal());

    painter_.DrawWindowFrame();
    view_.Edit1 = {QString(), true};
    view_.Edit2 = {QString(), true};
    view_.ComboBox1Enabled = true;
    view_.Print1.enabled = true;
    view_.ComboBox1Items.clear();
    view_.ComboBox1Index = -1;
    view_.ComboBox1Text.clear();
    view_.StartHint.clear();

    if (range.R <= 0) {
        range_.reset();
        view_.ComboBox1Enabled = false;
        view_.Button1.enabled = false;
        source_.prompt.message(
            source_.controls.text(Txt::ChartNoRecords).arg(view_.ListBox1.at(range.m).trimmed()));
        return;
    }

    range_ = range;
    const RecordSet& records = source_.table.records();
    for (int row = range.F; row < range.F + range.startCount(); ++row)
        view_.ComboBox1Items << (row < records.rowCountTotal() ? records.cell(row, 0) : QString());
    view_.ComboBox1Enabled = range.startBoxEnabled();
    view_.Button1.enabled = range.allRecordsEnabled();
    view_.ComboBox1Index = 0;
    view_.ComboBox1Text = view_.ComboBox1Items.constFirst();
    setRecordFields();

    if (const auto damage = painter_.DrawWindowChart(range, ExtremesForm::Confirmed)) {
        // Nothing of the measurement can be drawn right; keep the user from asking again.
        view_.ComboBox1Enabled = false;
        view_.Button1.enabled = false;
        warnDamaged(*damage);
    }
}

void ChartController::ComboBox1Change(int index) {
    if (!range_ || !view_.ComboBox1Enabled || index < 0 || index >= view_.ComboBox1Items.size())
        return;
    painter_.DrawWindowFrame();
    range_ = range_->startingAt(index);
    view_.ComboBox1Index = index;
    view_.ComboBox1Text = view_.ComboBox1Items.at(index);
    view_.StartHint.clear();
    setRecordFields();
    if (const auto damage = painter_.DrawWindowChart(*range_, ExtremesForm::StartChanged))
        warnDamaged(*damage);
}

void ChartController::ComboBox1Typed(const QString& text) {
    bool typedNumber = false;
    const int typed = text.trimmed().toInt(&typedNumber);
    if (view_.ComboBox1Enabled && typedNumber) {
        for (int i = 0; i < view_.ComboBox1Items.size(); ++i) {
            bool listedNumber = false;
            const int listed = view_.ComboBox1Items.at(i).trimmed().toInt(&listedNumber);
            if (listedNumber && listed == typed) {
                ComboBox1Change(i);
                return;
            }
        }
    }
    // Any other start would take rows outside the measurement. The box shows the last valid
    // start again, and the window says why without stopping the user with a message box.
    view_.ComboBox1Text =
        view_.ComboBox1Index >= 0 ? view_.ComboBox1Items.at(view_.ComboBox1Index) : QString();
    const QString shown = text.trimmed();
    view_.StartHint =
        shown.isEmpty() ? QString() : source_.controls.text(Txt::ChartStartNotListed).arg(shown);
}

void ChartController::Button1Click() {
    if (!range_ || !view_.Button1.enabled)
        return;
    if (const auto damage = painter_.DrawAllRecordsChart(*range_))
        warnDamaged(*damage);
}

bool ChartController::Print1Click() {
    if (!view_.Print1.enabled)
        return false;
    return savePicture(ChartPicture::path());
}

bool ChartController::savePicture(const QString& path) {
    QString error;
    if (ChartPicture::save(painter_.image(), path, &error))
        return true;
    source_.prompt.message(source_.controls.text(Txt::ChartPictureCannotWrite)
                               .arg(QFileInfo(path).absoluteFilePath(), error));
    return false;
}

void ChartController::Button2_FecharClick() {
    if (!open_)
        return;
    open_ = false;
    source_.closed();
}

void ChartController::warnDamaged(const ChartPainter::Damage& damage) {
    source_.prompt.message(source_.controls.text(Txt::ChartRecordDamaged)
                               .arg(damage.record)
                               .arg(damage.cell.trimmed()));
}
