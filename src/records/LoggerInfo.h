#pragma once

#include "protocol/LoggerInfo.h"

// Counters of the row filling during a download.
struct FillState {
    int rowsWritten = 0;
    int lastRecordNumber = 0;
    int lastMeasurementNumber = 0;
    int nextSeparatorRow = 0;

    bool operator==(const FillState&) const = default;
};
