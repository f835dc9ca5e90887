#pragma once

// Which records of the record table the chart window draws: one measurement and a window of
// at most ten consecutive records inside it. Rows are rows of the record table (row 0 is the
// header); measurement m has its separator row at m*(N+1)+1 and its records after it.
struct ChartRange {
    int m = 0;         // measurement, counted from 0
    int N = 0;         // records per measurement
    int lastCount = 0; // records of the last measurement
    int F = 0;         // row of the measurement's first record
    int R = 0;         // records of the measurement
    int L = 0;         // absolute number of its last record
    int w = 0;         // records in the window
    int S = 0;         // row of the window's first record
    bool last = false; // m is the last measurement

    // The range of measurement m as "Confirmar" sets it: the window at the first record.
    // `measurements` and `perMeasurement` come from the logger, `total` is the number of
    // records held. Records beyond measurements * perMeasurement follow in the last
    // measurement, as the table holds them; a last measurement with no records has R = 0.
    static ChartRange confirmed(int m, int measurements, int perMeasurement, int total);

    // The window starting at the c-th listed start (counted from 0).
    ChartRange startingAt(int c) const;

    // Absolute number of a record row of this measurement.
    int numberOfRow(int row) const { return row - 1 - m; }
    // Absolute number of the last record in the window.
    int windowEnd() const { return numberOfRow(S + w - 1); }

    // The starts offered for the window: every record from which w records stay inside the
    // measurement.
    int startCount() const { return R > 0 ? R - w + 1 : 0; }
    // A short last measurement (ten records or fewer, fewer than N) is drawn whole: there is
    // no start to choose and no wider chart to show.
    bool startBoxEnabled() const { return R > 0 && !(last && lastCount <= 10 && lastCount < N); }
    bool allRecordsEnabled() const { return startBoxEnabled(); }
};
