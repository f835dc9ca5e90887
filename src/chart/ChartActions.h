#pragma once

#include "records/RecordTable.h"

class MainControls;

// The main window's side of the chart window: its menu item, which is off while the window
// is open and comes back unless the record set it showed was cleared or replaced meanwhile
// (the timers keep running under the window).
class ChartActions {
public:
    ChartActions(MainControls& controls, const RecordTable& table);

    // "Gráfico": the chart window is about to be shown.
    void Grafico1Click();
    // The chart window closed.
    void ChartClosed();

private:
    MainControls& controls_;
    const RecordTable& table_;
    // What the chart window was opened on, to tell whether the record set changed under it.
    struct Opening {
        bool shown = false;
        LoggerInfo info;
        RecordOriginKind origin = RecordOriginKind::Downloaded;
        int rows = 0;
    } opening_;
};
