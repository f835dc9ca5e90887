#pragma once

#include <QChar>

class QLocale;

// Date, time and decimal separators of the regional settings.
struct Regional {
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    QChar decimalSeparator = u'.';

    // Separators taken from the locale's short date and time formats and its decimal point;
    // any the locale does not give stays at "/", ":" or ".".
    static Regional fromLocale(const QLocale& locale);
    static Regional system();
};
