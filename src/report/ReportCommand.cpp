// tervix-cli report: "Imprimir" on a data file, the pages written as PDF.
#include "app/CliRunner.h"
#include "app/MainSession.h"
#include "report/RecordReport.h"

#include <QCommandLineParser>
#include <QPdfWriter>
#include <QSaveFile>

#include <cstdio>

int CliRunner::report() {
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("PDF file to write."), QStringLiteral("FILE"));
    QCommandLineParser parser;
    parser.addOption(output);
    const bool parsed = parser.parse(QStringList{options_.command} + options_.commandArguments);
    QString problem;
    if (!parsed)
        problem = QStringLiteral("report: ") + parser.errorText();
    else if (parser.positionalArguments().size() != 1)
        problem = QStringLiteral("report takes one data file");
    else if (parser.value(output).isEmpty())
        problem = QStringLiteral("report needs -o OUT.pdf");
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(problem));
        return CliOptions::BadUsage;
    }

    if (const int status = openDataFile(parser.positionalArguments().first());
        status != CliOptions::Success)
        return status;

    const MainSession& s = *session_;
    const RecordReport report(s.frxReport1GetValue(QStringLiteral("file")),
                              s.frxReport1GetValue(QStringLiteral("file1")),
                              s.frxReport1GetValue(QStringLiteral("file2")));
    // Written aside and put in place only when complete.
    QSaveFile file(parser.value(output));
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("TERVIX"));
        ok = report.print(writer);
    }
    if (!ok || !file.commit()) {
        prompt_.message(s.text(Txt::PdfCannotWrite) + parser.value(output));
        return CliOptions::FileError;
    }
    return CliOptions::Success;
}
