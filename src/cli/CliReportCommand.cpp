// tervix-cli report: "Imprimir" on a data file, the pages written as PDF.
#include "CliRunner.h"

#include "app/MainSession.h"
#include "records/AtomicFile.h"
#include "report/RecordReport.h"

#include <QPdfWriter>

int CliRunner::report() {
    const CommandArguments args(options_, {CommandArguments::output()}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    const QString path = args.value(CommandArguments::output());
    if (path.isEmpty())
        return args.error(QStringLiteral("needs -o OUT.pdf"));

    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;

    const MainSession& s = *session_;
    const RecordReport report(s.frxReport1GetValue(QStringLiteral("file")),
                              s.frxReport1GetValue(QStringLiteral("file1")),
                              s.frxReport1GetValue(QStringLiteral("file2")));
    const AtomicFile::Result written = AtomicFile::write(path, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("TERVIX"));
        return report.print(writer);
    });
    if (!written.ok()) {
        prompt_.message(s.text(Txt::PdfCannotWrite) + AtomicFile::describe(path, written));
        return CliOptions::FileError;
    }
    return CliOptions::Success;
}
