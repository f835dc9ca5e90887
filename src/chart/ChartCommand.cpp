// tervix-cli chart: "Gráfico" on a data file: a measurement, "Confirmar", then a start of the
// list or "Todos os registros", and the picture written as a bitmap.
#include "ChartController.h"
#include "app/CliRunner.h"
#include "app/MainSession.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

int badUsage(const QString& message) {
    std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(message));
    return CliOptions::BadUsage;
}

// A whole number of at least 1, or 0.
int positive(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 ? n : 0;
}

} // namespace

int CliRunner::chart() {
    const QCommandLineOption measurement({QStringLiteral("m"), QStringLiteral("measurement")},
                                         QStringLiteral("Measurement, as listed (from 1)."),
                                         QStringLiteral("K"));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("Entry of the start record list (from 1)."),
                                   QStringLiteral("J"));
    const QCommandLineOption all(QStringLiteral("all"), QStringLiteral("Every record."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Bitmap to write."), QStringLiteral("FILE"));
    QCommandLineParser parser;
    parser.addOptions({measurement, start, all, output});
    if (!parser.parse(QStringList{options_.command} + options_.commandArguments))
        return badUsage(QStringLiteral("chart: ") + parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return badUsage(QStringLiteral("chart takes one data file"));
    const int k = positive(parser.value(measurement));
    if (k == 0)
        return badUsage(QStringLiteral("chart needs -m K, a measurement from 1"));
    if (parser.isSet(start) == parser.isSet(all))
        return badUsage(QStringLiteral("chart needs either --start J or --all"));
    const int j = parser.isSet(start) ? positive(parser.value(start)) : 0;
    if (parser.isSet(start) && j == 0)
        return badUsage(QStringLiteral("--start takes an entry of the list, from 1"));
    const QString path = parser.value(output);
    if (path.isEmpty())
        return badUsage(QStringLiteral("chart needs -o OUT.bmp"));

    if (const int status = openDataFile(parser.positionalArguments().first());
        status != CliOptions::Success)
        return status;

    // The window's own sequence: shown, a measurement selected and confirmed.
    ChartController window(session_->chartSource());
    window.FormShow();
    const ChartViewState& v = window.view();
    if (k > v.ListBox1.size())
        return badUsage(QStringLiteral("-m %1: the file lists %2 measurement(s)")
                            .arg(k)
                            .arg(v.ListBox1.size()));
    window.ListBox1Click(k - 1);
    window.Button2_Sel_MedClick();
    // What keeps the measurement from being drawn lies in the file.
    if (prompt_.failed)
        return CliOptions::FileError;

    if (parser.isSet(all)) {
        if (!v.Button1.enabled)
            return badUsage(QStringLiteral("--all: measurement %1 is drawn whole by its window; "
                                           "use --start 1")
                                .arg(k));
        window.Button1Click();
    } else {
        if (j > v.ComboBox1Items.size())
            return badUsage(QStringLiteral("--start %1: measurement %2 lists %3 start(s)")
                                .arg(j)
                                .arg(k)
                                .arg(v.ComboBox1Items.size()));
        // A measurement drawn whole has a single start, shown by "Confirmar" itself.
        if (v.ComboBox1Enabled)
            window.ComboBox1Change(j - 1);
    }
    if (prompt_.failed)
        return CliOptions::FileError;
    return window.savePicture(path) ? CliOptions::Success : CliOptions::FileError;
}
