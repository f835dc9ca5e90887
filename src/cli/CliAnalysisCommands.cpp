// tervix-cli stats and plot: the statistics and the analysis chart's full view of a data file.
#include "CliRunner.h"

#include "analysis/AnalysisChart.h"
#include "analysis/StatisticsFormat.h"
#include "app/MainSession.h"

#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

void warn(const QString& message) {
    QByteArray bytes = message.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fputs(bytes.constData(), stderr);
}

const QCommandLineOption& lowerOption() {
    static const QCommandLineOption option(QStringLiteral("lower"), QStringLiteral("Lower limit."),
                                           QStringLiteral("X"));
    return option;
}

const QCommandLineOption& upperOption() {
    static const QCommandLineOption option(QStringLiteral("upper"), QStringLiteral("Upper limit."),
                                           QStringLiteral("Y"));
    return option;
}

// The limits given (read with "." or ","), or nullopt after a usage error.
std::optional<Limits> limitsOf(const CommandArguments& args) {
    const Limits::Parsed limits =
        Limits::parse(args.value(lowerOption()), args.value(upperOption()), u'.');
    switch (limits.problem) {
    case Limits::Problem::LowerNotANumber:
        args.error(QStringLiteral("--lower takes a number"));
        return std::nullopt;
    case Limits::Problem::UpperNotANumber:
        args.error(QStringLiteral("--upper takes a number"));
        return std::nullopt;
    case Limits::Problem::LowerAboveUpper:
        args.error(QStringLiteral("--lower is above --upper"));
        return std::nullopt;
    case Limits::Problem::None:
        break;
    }
    return limits.limits;
}

} // namespace

int CliRunner::stats() {
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("One JSON object."));
    const CommandArguments args(options_, {lowerOption(), upperOption(), json}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    const std::optional<Limits> limits = limitsOf(args);
    if (!limits)
        return CliOptions::BadUsage;
    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;

    const LoggerInfo& info = session_->table().loggerInfo;
    const Statistics st =
        Statistics::of(session_->recordView(),
                       Statistics::Quantity::of(info.measurementType, info.unitCode), *limits);
    // The statistics stand for the records that parse; the first that does not is named.
    const QString unreadable = StatisticsFormat::unreadable(
        st, session_->records(), session_->text(Txt::StatsRecordDamaged));
    if (!unreadable.isEmpty())
        warn(unreadable);
    if (args.isSet(json))
        out_ << QString::fromUtf8(StatisticsFormat::json(st));
    else
        out_ << StatisticsFormat::text(st);
    return CliOptions::Success;
}

int CliRunner::plot() {
    const QCommandLineOption measurement(QStringLiteral("measurement"),
                                         QStringLiteral("Only measurement K (from 1)."),
                                         QStringLiteral("K"));
    const CommandArguments args(
        options_, {CommandArguments::output(), measurement, lowerOption(), upperOption()}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    const std::optional<Limits> limits = limitsOf(args);
    if (!limits)
        return CliOptions::BadUsage;
    const QString path = args.value(CommandArguments::output());
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return args.error(QStringLiteral("needs -o OUT.svg or -o OUT.png"));
    int k = 0;
    if (args.isSet(measurement)) {
        bool ok = false;
        k = args.value(measurement).toInt(&ok);
        if (!ok || k < 1)
            return args.error(QStringLiteral("--measurement takes a measurement from 1"));
    }
    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;

    AnalysisChart chart;
    chart.setWords({session_->text(Txt::AnalysisRecord), session_->text(Txt::AnalysisTime),
                    session_->text(Txt::AnalysisMeasurement), session_->text(Txt::StatsLower),
                    session_->text(Txt::StatsUpper)});
    chart.setData(session_->recordView(), *limits);
    if (k > 0) {
        if (k > chart.series().size()) {
            warn(session_->text(Txt::ChartNoRecords).arg(k));
            return CliOptions::BadUsage;
        }
        for (int i = 0; i < chart.series().size(); ++i)
            chart.setVisible(i, i == k - 1);
        chart.reset();
    }
    QString error;
    if (!chart.save(path, QSize(1200, 700), &error)) {
        warn(session_->text(Txt::ChartPictureCannotWrite).arg(path, error));
        return CliOptions::FileError;
    }
    return CliOptions::Success;
}
