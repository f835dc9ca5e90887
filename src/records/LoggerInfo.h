#pragma once

// What the logger's configuration reply says about the logger and its records.
struct LoggerInfo {
    int decimalsCode = 0;
    int measurementType = 0;
    int unitCode = 0; // a data file may also hold -1 (mBAR)
    int spareCode = 0;
    int rangeValue = 0;
    int equipmentNumber = 0;
    int recordsPerMeasurement = 0;
    int configuredMeasurements = 0;
    int storedMeasurements = 0;

    bool operator==(const LoggerInfo&) const = default;
};

// Counters of the row filling during a download.
struct FillState {
    int rowsWritten = 0;
    int lastRecordNumber = 0;
    int lastMeasurementNumber = 0;
    int nextSeparatorRow = 0;

    bool operator==(const FillState&) const = default;
};
