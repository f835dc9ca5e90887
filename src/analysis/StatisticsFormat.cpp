#include "StatisticsFormat.h"

#include <functional>

namespace {

using Summary = Statistics::Summary;
using Outside = Statistics::Outside;

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

QString sixDigits(const std::optional<double>& v) {
    return v ? QString::number(*v, 'g', 6) : QString();
}

template <typename T> QString whole(const std::optional<T>& v) {
    return v ? QString::number(*v) : QString();
}

// A figure of a summary as text, and whether JSON writes it as a string.
struct Field {
    QString key;
    bool isString;
    std::function<QString(const Summary&)> text;
};

QList<Field> fields(const Statistics& st) {
    QList<Field> f = {
        {"records", false, [](const Summary& s) { return QString::number(s.records); }},
        {"first", true, [](const Summary& s) { return timeText(s.first); }},
        {"last", true, [](const Summary& s) { return timeText(s.last); }},
        {"span_s", false, [](const Summary& s) { return whole(s.spanSeconds); }},
        {"interval_s", false, [](const Summary& s) { return whole(s.intervalSeconds); }},
        {"min", false, [](const Summary& s) { return s.min ? s.min->value.plain() : QString(); }},
        {"min_record", false,
         [](const Summary& s) { return s.min ? QString::number(s.min->record) : QString(); }},
        {"min_time", true,
         [](const Summary& s) { return s.min ? timeText(s.min->time) : QString(); }},
        {"max", false, [](const Summary& s) { return s.max ? s.max->value.plain() : QString(); }},
        {"max_record", false,
         [](const Summary& s) { return s.max ? QString::number(s.max->record) : QString(); }},
        {"max_time", true,
         [](const Summary& s) { return s.max ? timeText(s.max->time) : QString(); }},
        {"mean", false, [](const Summary& s) { return sixDigits(s.mean); }},
        {"sd", false, [](const Summary& s) { return sixDigits(s.sd); }},
        {"mkt", false, [](const Summary& s) { return sixDigits(s.mkt); }},
    };
    const auto side = [&](const char* prefix, std::optional<Outside> Summary::*member) {
        const QString p = QString::fromLatin1(prefix);
        auto get = [member](const Summary& s) { return s.*member; };
        auto key = [&](const char* name) { return p + u'_' + QString::fromLatin1(name); };
        f.append({key("records"), false, [get](const Summary& s) {
                      return get(s) ? QString::number(get(s)->records) : QString();
                  }});
        f.append({key("excursions"), false, [get](const Summary& s) {
                      return get(s) ? QString::number(get(s)->excursions) : QString();
                  }});
        f.append({key("duration_s"), false,
                  [get](const Summary& s) { return get(s) ? whole(get(s)->seconds) : QString(); }});
        f.append({key("first_time"), true, [get](const Summary& s) {
                      return get(s) ? timeText(get(s)->firstTime) : QString();
                  }});
    };
    if (st.all.below)
        side("below", &Summary::below);
    if (st.all.above)
        side("above", &Summary::above);
    return f;
}

QString jsonString(const QString& s) {
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

QString jsonValue(const Field& f, const Summary& s) {
    const QString v = f.text(s);
    if (v.isEmpty())
        return QStringLiteral("null");
    return f.isString ? jsonString(v) : v;
}

QString jsonObject(const QList<Field>& fs, const Summary& s) {
    QStringList parts = {QStringLiteral("\"measurement\": %1").arg(s.measurement)};
    QStringList below, above;
    for (const Field& f : fs) {
        const QString& key = f.key;
        const QString item = jsonValue(f, s);
        if (key.startsWith(u"below_"))
            below << jsonString(key.mid(6)) + QStringLiteral(": ") + item;
        else if (key.startsWith(u"above_"))
            above << jsonString(key.mid(6)) + QStringLiteral(": ") + item;
        else
            parts << jsonString(key) + QStringLiteral(": ") + item;
    }
    if (!below.isEmpty())
        parts << QStringLiteral("\"below\": {") + below.join(QStringLiteral(", ")) + u'}';
    if (!above.isEmpty())
        parts << QStringLiteral("\"above\": {") + above.join(QStringLiteral(", ")) + u'}';
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

} // namespace

namespace StatisticsFormat {

QList<Row> rows(const Statistics& st) {
    QList<Row> out;
    for (const Field& f : fields(st)) {
        Row r{f.key, {}};
        for (const Summary& s : st.measurements)
            r.values << f.text(s);
        r.values << f.text(st.all);
        out << r;
    }
    return out;
}

QString text(const Statistics& st) {
    const QList<Field> fs = fields(st);
    QString out = QStringLiteral("unit: ") + st.unit + u'\n';
    auto block = [&](const Summary& s, const QString& name) {
        out += QStringLiteral("\nmeasurement: ") + name + u'\n';
        for (const Field& f : fs) {
            const QString v = f.text(s);
            out += f.key + QStringLiteral(": ") + (v.isEmpty() ? QStringLiteral("-") : v) + u'\n';
        }
    };
    for (const Summary& s : st.measurements)
        block(s, QString::number(s.measurement));
    block(st.all, QStringLiteral("all"));
    return out;
}

QString tabSeparated(const QStringList& header, const QStringList& labels, const QList<Row>& rows) {
    QString out = header.join(u'\t') + u'\n';
    for (qsizetype i = 0; i < rows.size(); ++i)
        out += labels.value(i, rows[i].key) + u'\t' + rows[i].values.join(u'\t') + u'\n';
    return out;
}

QByteArray json(const Statistics& st) {
    const QList<Field> fs = fields(st);
    QStringList measurements;
    for (const Summary& s : st.measurements)
        measurements << QStringLiteral("    ") + jsonObject(fs, s);
    QString out = QStringLiteral("{\n  \"unit\": ") + jsonString(st.unit) +
                  QStringLiteral(",\n  \"measurements\": [");
    if (!measurements.isEmpty())
        out += u'\n' + measurements.join(QStringLiteral(",\n")) + QStringLiteral("\n  ");
    out += QStringLiteral("],\n  \"all\": ") + jsonObject(fs, st.all) + QStringLiteral("\n}\n");
    return out.toUtf8();
}

QString unreadable(const Statistics& st, const RecordSet& table, const QString& pattern) {
    if (!st.firstUnreadable)
        return {};
    const TypedRecord& r = *st.firstUnreadable;
    return pattern.arg(r.record ? QString::number(*r.record) : QString::number(r.row))
        .arg(table.cell(r.row, 3).trimmed());
}

} // namespace StatisticsFormat
