#pragma once

#include <QString>

class MainControls;
class RecordTable;

// The record report's variables as the main window supplies them.
class ReportActions {
public:
    ReportActions(const MainControls& controls, const RecordTable& table);

    // The variables "file", "file1" and "file2" (any case) from what the window shows now;
    // an unknown name gives an empty text.
    QString frxReport1GetValue(const QString& name) const;

private:
    const MainControls& controls_;
    const RecordTable& table_;
};
