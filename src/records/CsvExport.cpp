#include "CsvExport.h"

#include <QDate>
#include <QDateTime>
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

// The logger keeps no year: a record takes the year of the issue date, or the year before
// when its day and month come after the issue date.
QString timestamp(const QString& dateCell, const QString& timeCell, bool monthFirst,
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
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

std::optional<QDate> issueDate(const QString& text) {
    int dmy[3];
    if (!splitNumbers(text, 3, dmy))
        return std::nullopt;
    const QDate d(dmy[2], dmy[1], dmy[0]);
    return d.isValid() ? std::optional(d) : std::nullopt;
}

bool blankRow(const RecordSet::Row& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

} // namespace

namespace CsvExport {

QString plainNumber(QStringView cell) {
    const QStringView s = cell.trimmed();
    qsizetype i = 0;
    const bool negative = !s.isEmpty() && s[0] == u'-';
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+'))
        ++i;
    const qsizetype intStart = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    QStringView whole = s.mid(intStart, i - intStart);
    QStringView fraction;
    if (i < s.size() && (s[i] == u'.' || s[i] == u',')) {
        const qsizetype fracStart = ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        fraction = s.mid(fracStart, i - fracStart);
        if (fraction.isEmpty())
            return s.toString();
    }
    if (i != s.size() || (whole.isEmpty() && fraction.isEmpty()))
        return s.toString();
    while (whole.size() > 1 && whole[0] == u'0')
        whole = whole.mid(1);
    QString out = negative ? QStringLiteral("-") : QString();
    out += whole.isEmpty() ? QStringLiteral("0") : whole.toString();
    if (!fraction.isEmpty())
        out += u'.' + fraction.toString();
    return out;
}

QString quoted(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    QString q = field;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QByteArray write(const Source& source) {
    const RecordSet& table = source.table;
    const int lastRow = std::min(source.lastRow, table.rowCountTotal() - 1);
    const std::optional<QDate> issued = issueDate(source.issueDate);
    const QString unit = quoted(source.unit.trimmed());

    QString text = QStringLiteral("measurement,record,date,time,timestamp,value,unit\r\n");
    text.reserve(text.size() + qsizetype(std::max(lastRow, 0)) * 64);
    QString measurement;
    for (int r = 1; r <= lastRow; ++r) {
        const RecordSet::Row& row = table.row(r);
        if (row[0].trimmed() == u"M") {
            const std::optional<int> m = wholeNumber(row[1]);
            measurement = m ? QString::number(*m) : quoted(row[1].trimmed());
            continue;
        }
        if (blankRow(row))
            continue;
        const std::optional<int> record = wholeNumber(row[0]);
        const QStringList fields = {
            measurement,
            record ? QString::number(*record) : quoted(row[0].trimmed()),
            quoted(row[1].trimmed()),
            quoted(row[2].trimmed()),
            timestamp(row[1], row[2], source.monthFirst, issued),
            quoted(plainNumber(row[3])),
            unit,
        };
        text += fields.join(u',');
        text += QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

} // namespace CsvExport
