#include "Limits.h"

#include "records/RecordCells.h"

Limits::Parsed Limits::parse(const QString& lower, const QString& upper, QChar decimalSeparator) {
    Parsed p;
    auto read = [&](const QString& text, std::optional<double>& into, Problem problem) {
        if (text.trimmed().isEmpty())
            return true;
        const auto n = RecordCells::parseNumber(text, decimalSeparator);
        if (!n) {
            p.problem = problem;
            return false;
        }
        into = n->value();
        return true;
    };
    if (!read(lower, p.limits.lower, Problem::LowerNotANumber) ||
        !read(upper, p.limits.upper, Problem::UpperNotANumber))
        return {{}, p.problem};
    if (p.limits.lower && p.limits.upper && *p.limits.lower > *p.limits.upper)
        return {{}, Problem::LowerAboveUpper};
    return p;
}

QList<RecordSet::Mark> Limits::marks(const RecordView& view, int rowCount) const {
    if (!any())
        return {};
    QList<RecordSet::Mark> out(rowCount, RecordSet::Mark::None);
    for (const MeasurementRecords& m : view.measurements) {
        for (const TypedRecord& r : m.records) {
            if (!r.value || r.row >= rowCount)
                continue;
            const double v = r.value->value();
            if (above(v))
                out[r.row] = RecordSet::Mark::Above;
            else if (below(v))
                out[r.row] = RecordSet::Mark::Below;
        }
    }
    return out;
}
