#pragma once

#include "Limits.h"
#include "records/RecordCells.h"
#include "records/RecordView.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Summary statistics of a record set, per measurement and for the whole set, over the
// numbers of the typed view (records whose value cell is no number are left out).
struct Statistics {
    // What the values measure: mean kinetic temperature only for temperatures.
    struct Quantity {
        bool temperature = false;
        bool fahrenheit = false;
        static Quantity of(int measurementType, int unitCode);
    };

    struct Extreme {
        RecordCells::CellNumber value;
        int record = 0;
        QDateTime time; // invalid when the record has none
    };

    // One side of the limits.
    struct Outside {
        int records = 0;
        int excursions = 0;            // runs of consecutive records outside
        std::optional<qint64> seconds; // records x the measurement's usual interval
        QDateTime firstTime;           // when the first excursion began
    };

    struct Summary {
        int measurement = 0; // 0: the whole set
        int records = 0;
        QDateTime first, last;
        std::optional<qint64> spanSeconds, intervalSeconds;
        std::optional<Extreme> min, max;
        std::optional<double> mean, sd, mkt;
        std::optional<Outside> below, above; // only for a limit that is set
    };

    QString unit;
    Quantity quantity;
    QList<Summary> measurements;
    Summary all;
    // The first record whose value is no number.
    std::optional<TypedRecord> firstUnreadable;

    static Statistics of(const RecordView& view, Quantity quantity, const Limits& limits);

    // Activation energy over the gas constant for the mean kinetic temperature, in kelvin
    // (83.144 kJ/mol / 8.3144 J/(mol K)).
    static constexpr double kActivationKelvin = 10000.0;
};
