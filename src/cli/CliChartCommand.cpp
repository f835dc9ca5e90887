// tervix-cli chart: "Gráfico" on a data file: a measurement, "Confirmar", then a start of the
// list or "Todos os registros", and the picture written as a bitmap.
#include "CliRunner.h"

#include "app/MainSession.h"
#include "chart/ChartController.h"

namespace {

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
    const CommandArguments args(options_, {measurement, start, all, CommandArguments::output()}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    const int k = positive(args.value(measurement));
    if (k == 0)
        return args.error(QStringLiteral("needs -m K, a measurement from 1"));
    if (args.isSet(start) == args.isSet(all))
        return args.error(QStringLiteral("needs either --start J or --all"));
    const int j = args.isSet(start) ? positive(args.value(start)) : 0;
    if (args.isSet(start) && j == 0)
        return args.error(QStringLiteral("--start takes an entry of the list, from 1"));
    const QString path = args.value(CommandArguments::output());
    if (path.isEmpty())
        return args.error(QStringLiteral("needs -o OUT.bmp"));

    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;

    // The window's own sequence: shown, a measurement selected and confirmed.
    ChartController window(session_->chartSource());
    window.FormShow();
    const ChartViewState& v = window.view();
    if (k > v.ListBox1.size())
        return args.error(QStringLiteral("-m %1: the file lists %2 measurement(s)")
                              .arg(k)
                              .arg(v.ListBox1.size()));
    window.ListBox1Click(k - 1);
    window.Button2_Sel_MedClick();
    // What keeps the measurement from being drawn lies in the file.
    if (prompt_.failed)
        return CliOptions::FileError;

    if (args.isSet(all)) {
        if (!v.Button1.enabled)
            return args.error(QStringLiteral("--all: measurement %1 is drawn whole by its "
                                             "window; use --start 1")
                                  .arg(k));
        window.Button1Click();
    } else {
        if (j > v.ComboBox1Items.size())
            return args.error(QStringLiteral("--start %1: measurement %2 lists %3 start(s)")
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
