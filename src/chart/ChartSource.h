#pragma once

#include <functional>

class MainControls;
class Prompt;
class RecordTable;

// What the chart reads from the main window and tells it: the interface language and the
// instrument panel's type and unit texts, the record table, the message boxes, and that
// the window closed.
struct ChartSource {
    const MainControls& controls;
    const RecordTable& table;
    Prompt& prompt;
    std::function<void()> closed;
};
