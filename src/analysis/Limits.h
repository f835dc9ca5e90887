#pragma once

#include "records/RecordSet.h"
#include "records/RecordView.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

// A lower and an upper limit in the record set's unit, each optional. A value is outside
// when it lies strictly below the lower or strictly above the upper limit.
struct Limits {
    std::optional<double> lower, upper;

    bool any() const { return lower || upper; }
    bool below(double v) const { return lower && v < *lower; }
    bool above(double v) const { return upper && v > *upper; }
    bool operator==(const Limits&) const = default;

    enum class Problem { None, LowerNotANumber, UpperNotANumber, LowerAboveUpper };
    struct Parsed;
    // Limits as a user types them: an empty text is no limit; a number may use ".", "," or
    // the regional separator.
    static Parsed parse(const QString& lower, const QString& upper, QChar decimalSeparator);

    // The grid's marks for the records of the view: a list by grid row.
    QList<RecordSet::Mark> marks(const RecordView& view, int rowCount) const;
};

struct Limits::Parsed {
    Limits limits;
    Problem problem = Problem::None;
};
