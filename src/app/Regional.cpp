#include "Regional.h"

#include <QLocale>

namespace {

// The first character of a date or time format that is neither a field letter, a digit, a
// blank nor a quote: "dd/MM/yyyy" gives '/', "HH:mm" gives ':'.
QChar firstSeparator(const QString& format) {
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || c.isLetterOrNumber() || c.isSpace())
            continue;
        return c;
    }
    return {};
}

} // namespace

Regional Regional::fromLocale(const QLocale& locale) {
    Regional r;
    if (QChar c = firstSeparator(locale.dateFormat(QLocale::ShortFormat)); !c.isNull())
        r.dateSeparator = c;
    if (QChar c = firstSeparator(locale.timeFormat(QLocale::ShortFormat)); !c.isNull())
        r.timeSeparator = c;
    if (const QString d = locale.decimalPoint(); d.size() == 1)
        r.decimalSeparator = d.at(0);
    return r;
}

Regional Regional::system() {
    return fromLocale(QLocale::system());
}
