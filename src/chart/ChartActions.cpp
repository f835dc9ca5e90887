// The main session's side of the chart window: its menu item and the record count it uses.
#include "app/MainSession.h"

void MainSession::Grafico1Click() {
    if (!view_.Grafico1.enabled)
        return;
    chartOpening_ = {true, loggerInfo, RecordOrigin, fill.rowsWritten};
    view_.Grafico1.enabled = false;
    changed();
}

void MainSession::ChartClosed() {
    if (!chartOpening_.shown)
        return;
    chartOpening_.shown = false;
    // A download that finished meanwhile has turned the item on itself; a record set that
    // was cleared or replaced keeps it off.
    const bool sameRecords = chartOpening_.info == loggerInfo &&
                             chartOpening_.origin == RecordOrigin &&
                             chartOpening_.rows == fill.rowsWritten;
    view_.Grafico1.enabled = view_.Grafico1.enabled || sameRecords;
    changed();
}

int MainSession::chartRecordTotal() const {
    // A data file states its count; a download counts the rows it wrote, less one
    // separator row per measurement.
    if (RecordOrigin == RecordOriginKind::FromFile)
        return fileRecordCount;
    return fill.rowsWritten - loggerInfo.storedMeasurements;
}
