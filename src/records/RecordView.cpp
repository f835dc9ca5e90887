#include "RecordView.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// `count` groups of one to four digits, each pair split by one character that is not a digit
// ("dd/mm", "hh:mm:ss", "dd/mm/yyyy" whatever the regional separators were). Blanks around
// the whole are ignored.
bool splitNumbers(QStringView s, int count, int* out) {
    s = s.trimmed();
    qsizetype i = 0;
    for (int n = 0; n < count; ++n) {
        if (n > 0) {
            if (i >= s.size() || isDigit(s[i]) || s[i].isSpace())
                return false;
            ++i;
        }
        int value = 0, digits = 0;
        for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
            if (digits == 4)
                return false;
            value = value * 10 + (s[i].unicode() - u'0');
        }
        if (digits == 0)
            return false;
        out[n] = value;
    }
    return i == s.size();
}

std::optional<int> wholeNumber(QStringView s) {
    int v = 0;
    if (!splitNumbers(s, 1, &v))
        return std::nullopt;
    return v;
}

std::optional<QDate> issueDate(const QString& text) {
    int dmy[3];
    if (!splitNumbers(text, 3, dmy))
        return std::nullopt;
    const QDate d(dmy[2], dmy[1], dmy[0]);
    return d.isValid() ? std::optional(d) : std::nullopt;
}

// The logger keeps no year: a record takes the year of the issue date, or the year before
// when its day and month come after the issue date.
QDateTime recordTime(const QString& dateCell, const QString& timeCell, bool monthFirst,
                     const std::optional<QDate>& issued) {
    int dm[2], hms[3];
    if (!issued || !splitNumbers(dateCell, 2, dm) || !splitNumbers(timeCell, 3, hms))
        return {};
    const int month = monthFirst ? dm[0] : dm[1];
    const int day = monthFirst ? dm[1] : dm[0];
    const bool afterIssue = std::pair(month, day) > std::pair(issued->month(), issued->day());
    const QDate date(issued->year() - (afterIssue ? 1 : 0), month, day);
    const QTime time(hms[0], hms[1], hms[2]);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

bool blankRow(const RecordSet::Row& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const QString& cell) { return QStringView(cell).trimmed().isEmpty(); });
}

} // namespace

RecordView RecordView::build(const RecordSet& table, const Context& context) {
    RecordView view;
    view.unit = context.unit.trimmed();
    const std::optional<QDate> issued = issueDate(context.issueDate);
    for (int r = 1; r < table.rowCountTotal(); ++r) {
        const RecordSet::Row& row = table.row(r);
        if (RecordCells::isSeparatorRow(row)) {
            view.measurements.append(MeasurementRecords{wholeNumber(row[1]), r, {}});
            continue;
        }
        if (blankRow(row))
            continue;
        if (view.measurements.isEmpty())
            view.measurements.append(MeasurementRecords{});
        view.measurements.last().records.append(TypedRecord{
            r,
            wholeNumber(row[0]),
            recordTime(row[1], row[2], context.monthFirst, issued),
            RecordCells::parseNumber(row[3], context.decimalSeparator),
        });
    }
    return view;
}

const TypedRecord* RecordView::atRow(int row) const {
    for (const MeasurementRecords& m : measurements) {
        if (m.records.isEmpty() || m.records.last().row < row)
            continue;
        const auto it = std::lower_bound(m.records.begin(), m.records.end(), row,
                                         [](const TypedRecord& t, int r) { return t.row < r; });
        return it != m.records.end() && it->row == row ? &*it : nullptr;
    }
    return nullptr;
}

int RecordView::recordCount() const {
    int n = 0;
    for (const MeasurementRecords& m : measurements)
        n += int(m.records.size());
    return n;
}

const RecordView& RecordViewCache::get(const RecordSet& table, const RecordView::Context& context) {
    if (!view_ || table_ != &table || revision_ != table.revision() || !(context_ == context)) {
        view_ = RecordView::build(table, context);
        table_ = &table;
        revision_ = table.revision();
        context_ = context;
    }
    return *view_;
}
