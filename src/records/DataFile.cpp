#include "DataFile.h"

#include "InputFile.h"

#include "app/Windows1252.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

// Where each header field lies: first character and width, line ends counted as one
// character. Lines 1 to 14.
struct Field {
    int start;
    int width;
};
constexpr Field kLines[14] = {
    {0, 50},  {51, 50}, {102, 50}, {153, 10}, {164, 2}, {167, 2}, {170, 2},
    {173, 2}, {176, 4}, {181, 5},  {187, 4},  {192, 2}, {195, 2}, {198, 4},
};
// The last header field ends just before this position.
constexpr int kHeaderFieldsEnd = 202;

QString lineText(const QString& text, int line) {
    const Field& f = kLines[line - 1];
    return text.mid(f.start, f.width);
}

// A decimal integer with an optional leading minus sign and nothing else. The fields are at
// most five characters wide, so the value always fits.
std::optional<int> decimal(QStringView s) {
    qsizetype i = !s.isEmpty() && s[0] == u'-' ? 1 : 0;
    if (i == s.size())
        return std::nullopt;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9')
            return std::nullopt;
        value = value * 10 + (s[i].unicode() - u'0');
    }
    return s[0] == u'-' ? -value : value;
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool storableCodePoint(char32_t c) {
    if (c > 0xFFFF || isControl(c))
        return false;
    const QChar ch{char16_t(c)};
    return Windows1252::canEncode(QStringView(&ch, 1));
}

// Each CR LF becomes one line feed; the text ends at a NUL or after kMaxChars characters.
QByteArray reduced(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(std::min(bytes.size(), DataFile::kMaxChars));
    for (qsizetype i = 0; i < bytes.size() && out.size() < DataFile::kMaxChars; ++i) {
        const char c = bytes[i];
        if (c == '\0')
            break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Text files hold no control bytes but line ends and tabs; the header would show them.
bool looksBinary(QByteArrayView bytes) {
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), kHeaderFieldsEnd));
    return std::any_of(head.begin(), head.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\r' && c != '\n' && c != '\t') || u == 0x7F;
    });
}

// A data file starts with its four report fields, each alone on its line of fixed width. A
// text cut short inside them may still be one.
bool startsLikeDataFile(const QString& text) {
    for (int line = 1; line <= 4; ++line) {
        const Field& f = kLines[line - 1];
        const qsizetype end = text.indexOf(u'\n', f.start);
        if (end < 0)
            return true;
        if (end != f.start + f.width)
            return false;
    }
    return true;
}

} // namespace

namespace DataFile {

QString padded(const QString& text, int width) {
    return text.size() >= width ? text : text + QString(width - text.size(), u' ');
}

bool storable(QStringView text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(),
                       [](uint c) { return storableCodePoint(c); });
}

QString unstorableCharacters(QStringView text) {
    QList<uint> seen;
    QStringList shown;
    for (const uint c : text.toUcs4()) {
        if (storableCodePoint(c) || seen.contains(c))
            continue;
        seen << c;
        const char32_t cp = c;
        shown << (isControl(c) ? QStringLiteral("U+%1").arg(c, 4, 16, QLatin1Char('0')).toUpper()
                               : QString::fromUcs4(&cp, 1));
    }
    return shown.join(u' ');
}

QByteArray write(const ReportFields& fields, const LoggerInfo& info, const RecordSet& table,
                 int lastRow) {
    lastRow = std::clamp(lastRow, 0, table.rowCountTotal() - 1);
    QByteArray out;
    out.reserve(kHeaderChars + 48 + qsizetype(lastRow) * (kRecordLineWidth + 2));
    auto line = [&out](const QString& text) {
        out += Windows1252::encode(text);
        out += "\r\n";
    };
    auto number = [&line](const char* format, int value) {
        line(QString::asprintf(format, value));
    };

    line(padded(fields.title, kFieldWidth));
    line(padded(fields.objective, kFieldWidth));
    line(padded(fields.responsible, kFieldWidth));
    line(padded(fields.date, kDateWidth));
    number("%02d", info.decimalsCode);
    number("%02d", info.measurementType);
    number("%02d", info.unitCode);
    number("%02d", info.spareCode);
    number("%04d", info.equipmentNumber);
    number("%05d", info.rangeValue);
    number("%04d", info.recordsPerMeasurement);
    number("%02d", info.configuredMeasurements);
    number("%02d", info.storedMeasurements);
    number("%04d", lastRow - info.storedMeasurements);

    for (int r = 0; r <= lastRow; ++r) {
        const RecordSet::Row& row = table.row(r);
        line(row[0] + row[1] + row[2] + row[3]);
    }
    return out;
}

int Content::tableRowCount() const {
    return std::max(2, recordCount + info.configuredMeasurements + 1);
}

ReadResult parse(QByteArrayView bytes) {
    ReadResult result;
    const QString text = Windows1252::decode(reduced(bytes));
    if (looksBinary(bytes) || !startsLikeDataFile(text)) {
        result.status = ReadStatus::Foreign;
        return result;
    }
    if (text.size() < kHeaderFieldsEnd) {
        result.status = ReadStatus::TooShort;
        return result;
    }

    Content& c = result.content;
    c.fields = {lineText(text, 1), lineText(text, 2), lineText(text, 3), lineText(text, 4)};
    c.equipmentText = lineText(text, 9);
    c.recordsText = lineText(text, 11);

    struct Number {
        int line;
        int* target;
    };
    LoggerInfo& info = c.info;
    const Number numbers[] = {
        {5, &info.decimalsCode},
        {6, &info.measurementType},
        {7, &info.unitCode},
        {8, &info.spareCode},
        {10, &info.rangeValue},
        {11, &info.recordsPerMeasurement},
        {12, &info.configuredMeasurements},
        {13, &info.storedMeasurements},
        {14, &c.recordCount},
    };
    for (const Number& n : numbers) {
        const QString field = lineText(text, n.line);
        const std::optional<int> value = decimal(field);
        if (!value) {
            result.status = ReadStatus::NotANumber;
            result.badLine = n.line;
            result.badText = field;
            result.content = {};
            return result;
        }
        *n.target = *value;
    }
    // Line 9 is shown as it stands; as a number it only completes LoggerInfo.
    info.equipmentNumber = decimal(c.equipmentText).value_or(0);

    // The column-title line runs from the end of the header block to its line end.
    qsizetype pos = text.indexOf(u'\n', kHeaderChars);
    if (pos < 0)
        return result;
    c.columnTitles = text.mid(kHeaderChars, pos - kHeaderChars);
    ++pos;
    // Record lines, until one is not 40 characters long. A last line that lacks only its line
    // end is taken.
    while (pos < text.size()) {
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = text.size();
        if (end - pos != kRecordLineWidth)
            break;
        const QStringView line = QStringView(text).mid(pos, kRecordLineWidth);
        c.rows.append({line.mid(0, 10).toString(), line.mid(10, 10).toString(),
                       line.mid(20, 10).toString(), line.mid(30, 10).toString()});
        pos = end + 1;
    }
    return result;
}

ReadResult read(const QString& path) {
    QFile file(path);
    QString reason;
    if (!InputFile::open(file, &reason)) {
        ReadResult result;
        result.status = ReadStatus::CannotOpen;
        result.reason = reason;
        return result;
    }
    // Every character of the reduced text takes at most two bytes.
    const QByteArray bytes = file.read(2 * kMaxChars + 1);
    if (file.error() != QFileDevice::NoError) {
        ReadResult result;
        result.status = ReadStatus::CannotOpen;
        result.reason = file.errorString();
        return result;
    }
    return parse(bytes);
}

bool monthFirstDates(QStringView columnTitles) {
    // Only the English titles say "DATE" and "VALUE". The value title is there even when the
    // others are empty (the first download after start-up in Spanish or English).
    return columnTitles.contains(u"DATE") || columnTitles.contains(u"VALUE");
}

} // namespace DataFile
