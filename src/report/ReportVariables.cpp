#include "ReportVariables.h"

#include "records/RecordSet.h"

namespace ReportVariables {

QString file(const Cover& c) {
    struct Prefixes {
        const char16_t* equipment;
        const char16_t* title;
        const char16_t* objective;
        const char16_t* responsible;
        const char16_t* date;
    };
    static constexpr Prefixes kPortuguese = {u"RELATÓRIO DO EQUIPAMENTO NÚMERO (TAG):     ",
                                             u"Título: ", u"Objetivo: ", u"Responsável: ",
                                             u"Data: "};
    static constexpr Prefixes kSpanish = {u"INFORME DEL EQUIPO NUMERO (TAG):     ", u"Título: ",
                                          u"Objetivo: ", u"Autor: ", u"Fecha: "};
    static constexpr Prefixes kEnglish = {u"REPORT OF EQUIPMENT NUMBER (TAG):     ", u"Title: ",
                                          u"Subject: ", u"Author: ", u"Date: "};
    const Prefixes& p = c.language == 'e' ? kSpanish : c.language == 'i' ? kEnglish : kPortuguese;

    // A downloaded record set is double-spaced; one read from a file single-spaced with a
    // closing blank line.
    const bool fromFile = c.origin == RecordOriginKind::FromFile;
    const QString after = fromFile ? QStringLiteral("\n") : QStringLiteral("\n\n");
    QString text = QString::fromUtf16(p.equipment) + c.equipment + QStringLiteral("\n\n\n\n");
    text += QString::fromUtf16(p.title) + c.title + after;
    text += QString::fromUtf16(p.objective) + c.objective + after;
    text += QString::fromUtf16(p.responsible) + c.responsible + after;
    text += QString::fromUtf16(p.date) + c.date + after;
    if (fromFile)
        text += QLatin1Char('\n');
    return text;
}

QString file1(const RecordSet& records) {
    const RecordSet::Row& h = records.row(0);
    return h[0] + h[1] + h[2] + h[3] + QLatin1Char('\n');
}

QString file2(const RecordSet& records, int lastRow) {
    lastRow = std::min(lastRow, records.rowCountTotal() - 1);
    QString text;
    text.reserve(qsizetype(std::max(lastRow, 0)) * 41);
    for (int r = 1; r <= lastRow; ++r) {
        const RecordSet::Row& row = records.row(r);
        text += row[0] + row[1] + row[2] + row[3] + QLatin1Char('\n');
    }
    return text;
}

} // namespace ReportVariables
