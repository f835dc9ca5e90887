#pragma once

#include "app/MainSession.h"
#include "records/RecordCells.h"

#include <cmath>
#include <functional>

// Fills the session's record table as a download leaves it: M measurements of N records,
// `total` records in all (the surplus or shortfall in the last measurement), a PSI pressure
// logger, values by record number.
inline void fillChartTable(MainSession& s, int N, int M, int total, int decimalsCode,
                           const std::function<double(int record)>& value) {
    LoggerInfo& info = s.table().loggerInfo;
    info.decimalsCode = decimalsCode;
    info.measurementType = 1;
    info.unitCode = 3;
    info.recordsPerMeasurement = N;
    info.storedMeasurements = M;
    info.configuredMeasurements = M;
    s.table().ShowLoggerInfo();

    const int places = decimalsCode >= 1 && decimalsCode <= 3 ? decimalsCode : 0;
    QList<RecordSet::Row> rows;
    int record = 0;
    for (int m = 0; m < M; ++m) {
        rows << RecordCells::separatorRow(m + 1);
        const int count = m + 1 < M ? std::min(N, total - record) : total - record;
        for (int j = 0; j < count; ++j) {
            ++record;
            const int scaled = int(std::lround(value(record) * std::pow(10, places)));
            rows << RecordSet::Row{
                RecordCells::numberText(record),
                RecordCells::dateText(1 + record % 28, 1 + record % 12, s.controls().UiLanguage,
                                      u'/'),
                RecordCells::timeText(record % 24, record % 60, (record * 7) % 60, u':'),
                RecordCells::valueText(quint16(scaled), decimalsCode, u'.')};
        }
    }
    s.records().replaceRowsFrom(1, rows);
    s.records().setRowCountTotal(int(rows.size()) + 2);
    s.table().fill.rowsWritten = int(rows.size());
    s.controls().stateDownloadFinished();
}
