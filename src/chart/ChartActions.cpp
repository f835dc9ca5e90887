#include "ChartActions.h"

#include "app/MainControls.h"

ChartActions::ChartActions(MainControls& controls, const RecordTable& table)
    : controls_(controls), table_(table) {}

void ChartActions::Grafico1Click() {
    MenuItemState& item = controls_.view.Grafico1;
    if (!item.enabled)
        return;
    opening_ = {true, table_.loggerInfo, table_.RecordOrigin, table_.fill.rowsWritten};
    item.enabled = false;
    controls_.changed();
}

void ChartActions::ChartClosed() {
    if (!opening_.shown)
        return;
    opening_.shown = false;
    // A download that finished meanwhile has turned the item on itself; a record set that
    // was cleared or replaced keeps it off.
    const bool sameRecords = opening_.info == table_.loggerInfo &&
                             opening_.origin == table_.RecordOrigin &&
                             opening_.rows == table_.fill.rowsWritten;
    MenuItemState& item = controls_.view.Grafico1;
    item.enabled = item.enabled || sameRecords;
    controls_.changed();
}
