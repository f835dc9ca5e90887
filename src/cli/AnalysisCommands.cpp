#include "AnalysisCommands.h"

#include "analysis/AnalysisChart.h"
#include "analysis/StatisticsFormat.h"
#include "app/CliOptions.h"
#include "app/MainSession.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace {

int badUsage(const QString& message) {
    std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(message));
    return CliOptions::BadUsage;
}

void warn(const QString& message) {
    QByteArray bytes = message.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fputs(bytes.constData(), stderr);
}

const QCommandLineOption kLower(QStringLiteral("lower"), QStringLiteral("Lower limit."),
                                QStringLiteral("X"));
const QCommandLineOption kUpper(QStringLiteral("upper"), QStringLiteral("Upper limit."),
                                QStringLiteral("Y"));

// Parses the command's options and its one data file; the limits are read with "." or ",".
struct Parsed {
    QString file;
    Limits limits;
};
std::optional<Parsed> parse(QCommandLineParser& parser, const QString& command,
                            const QStringList& arguments, int* status) {
    *status = CliOptions::BadUsage;
    if (!parser.parse(QStringList{command} + arguments)) {
        badUsage(command + QStringLiteral(": ") + parser.errorText());
        return std::nullopt;
    }
    if (parser.positionalArguments().size() != 1) {
        badUsage(command + QStringLiteral(" takes one data file"));
        return std::nullopt;
    }
    const Limits::Parsed limits = Limits::parse(parser.value(kLower), parser.value(kUpper), u'.');
    switch (limits.problem) {
    case Limits::Problem::LowerNotANumber:
        badUsage(QStringLiteral("--lower takes a number"));
        return std::nullopt;
    case Limits::Problem::UpperNotANumber:
        badUsage(QStringLiteral("--upper takes a number"));
        return std::nullopt;
    case Limits::Problem::LowerAboveUpper:
        badUsage(QStringLiteral("--lower is above --upper"));
        return std::nullopt;
    case Limits::Problem::None:
        break;
    }
    *status = CliOptions::Success;
    return Parsed{parser.positionalArguments().first(), limits.limits};
}

} // namespace

namespace AnalysisCommands {

int stats(const QStringList& arguments, const OpenDataFile& open, QTextStream& out) {
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("One JSON object."));
    QCommandLineParser parser;
    parser.addOptions({kLower, kUpper, json});
    int status = 0;
    const std::optional<Parsed> p = parse(parser, QStringLiteral("stats"), arguments, &status);
    if (!p)
        return status;
    MainSession* session = nullptr;
    if (const int opened = open(p->file, &session); opened != CliOptions::Success)
        return opened;

    const LoggerInfo& info = session->table().loggerInfo;
    const Statistics st =
        Statistics::of(session->recordView(),
                       Statistics::Quantity::of(info.measurementType, info.unitCode), p->limits);
    // The statistics stand for the records that parse; the first that does not is named.
    const QString unreadable = StatisticsFormat::unreadable(st, session->records(),
                                                            session->text(Txt::StatsRecordDamaged));
    if (!unreadable.isEmpty())
        warn(unreadable);
    if (parser.isSet(json))
        out << QString::fromUtf8(StatisticsFormat::json(st));
    else
        out << StatisticsFormat::text(st);
    return CliOptions::Success;
}

int plot(const QStringList& arguments, const OpenDataFile& open) {
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Picture to write (.svg or .png)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption measurement(QStringLiteral("measurement"),
                                         QStringLiteral("Only measurement K (from 1)."),
                                         QStringLiteral("K"));
    QCommandLineParser parser;
    parser.addOptions({output, measurement, kLower, kUpper});
    int status = 0;
    const std::optional<Parsed> p = parse(parser, QStringLiteral("plot"), arguments, &status);
    if (!p)
        return status;
    const QString path = parser.value(output);
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return badUsage(QStringLiteral("plot needs -o OUT.svg or -o OUT.png"));
    int k = 0;
    if (parser.isSet(measurement)) {
        bool ok = false;
        k = parser.value(measurement).toInt(&ok);
        if (!ok || k < 1)
            return badUsage(QStringLiteral("--measurement takes a measurement from 1"));
    }
    MainSession* session = nullptr;
    if (const int opened = open(p->file, &session); opened != CliOptions::Success)
        return opened;

    AnalysisChart chart;
    chart.setWords({session->text(Txt::AnalysisRecord), session->text(Txt::AnalysisTime),
                    session->text(Txt::AnalysisMeasurement), session->text(Txt::StatsLower),
                    session->text(Txt::StatsUpper)});
    chart.setData(session->recordView(), p->limits);
    if (k > 0) {
        if (k > chart.series().size()) {
            warn(session->text(Txt::ChartNoRecords).arg(k));
            return CliOptions::BadUsage;
        }
        for (int i = 0; i < chart.series().size(); ++i)
            chart.setVisible(i, i == k - 1);
        chart.reset();
    }
    QString error;
    if (!chart.save(path, QSize(1200, 700), &error)) {
        warn(session->text(Txt::ChartPictureCannotWrite).arg(path, error));
        return CliOptions::FileError;
    }
    return CliOptions::Success;
}

} // namespace AnalysisCommands
