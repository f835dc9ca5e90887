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
