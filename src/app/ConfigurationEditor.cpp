#include "ConfigurationEditor.h"

#include "app/Clock.h"
#include "app/ConversionError.h"
#include "app/MainSession.h"
#include "app/Prompt.h"
#include "app/Ticker.h"

ConfigurationEditor::ConfigurationEditor(MainSession& session)
    : Timer1(session.timeBase().createTicker()), session_(session) {
    Timer1->setInterval(kClockRefreshMs);
    Timer1->setCallback([this] { session_.guarded([this] { Timer1Timer(); }); });
}

ConfigurationEditor::~ConfigurationEditor() = default;

void ConfigurationEditor::FormShow() {
    auto t = [this](Txt id) { return session_.text(id); };
    captions_ = {
        t(Txt::ConfigCaption),      t(Txt::ConfigLabel3),    t(Txt::ConfigLabel4),
        t(Txt::ConfigLabel1),       t(Txt::ConfigLabel2),    t(Txt::ConfigLabel5),
        t(Txt::ConfigLabel8),       t(Txt::ConfigGroupBox1), t(Txt::ConfigRadioButton2),
        t(Txt::ConfigRadioButton3), t(Txt::ConfigButton1),   t(Txt::ConfigButton2),
    };
    open_ = true;
    showClock();
    session_.ClearStatusPanel2();
    Timer1->start();
}

void ConfigurationEditor::Timer1Timer() {
    showClock();
    if (changed_)
        changed_();
}

void ConfigurationEditor::showClock() {
    const QDateTime now = session_.clock().now();
    const QChar ts = session_.regional().timeSeparator;
    const QChar ds = session_.regional().dateSeparator;
    time_ = now.time().toString(QStringLiteral("hh%1mm%1ss").arg(ts));
    date_ = now.date().toString(QStringLiteral("dd%1MM%1yyyy").arg(ds));
}

void ConfigurationEditor::MaskEdit1Change(const QString& text) {
    interval_ = text;
}

QString ConfigurationEditor::Edit2() const {
    return session_.table().TForm3.Edit2;
}

QString ConfigurationEditor::Edit1() const {
    return session_.table().TForm3.Edit1;
}

void ConfigurationEditor::Edit2Change(const QString& text) {
    if (!Edit2ReadOnly())
        session_.table().TForm3.Edit2 = text;
}

void ConfigurationEditor::Edit1Change(const QString& text) {
    if (!Edit1ReadOnly())
        session_.table().TForm3.Edit1 = text;
}

void ConfigurationEditor::RadioButton2Click() {
    setMode(LoggerConfig::Mode::Fixed, "50");
}

void ConfigurationEditor::RadioButton3Click() {
    setMode(LoggerConfig::Mode::Continuous, "3600");
}

void ConfigurationEditor::setMode(LoggerConfig::Mode mode, const char* records) {
    mode_ = mode;
    session_.table().TForm3.Edit2 = QString::fromLatin1(records);
    session_.table().TForm3.Edit1 = QStringLiteral("1");
}

std::optional<LoggerConfig> ConfigurationEditor::checkedConfiguration() const {
    LoggerConfig config;
    const std::optional<QTime> interval = LoggerConfig::parseInterval(interval_);
    if (!interval)
        throw ConversionError(session_.text(Txt::ConfigIntervalInvalid).arg(interval_));
    // A logger told to record every zero seconds would fill its memory at once or stall.
    if (*interval == QTime(0, 0)) {
        session_.prompt().message(session_.text(Txt::ConfigIntervalZero));
        return std::nullopt;
    }
    config.interval = *interval;

    // Both counts are checked, so that one click can show both messages.
    bool refused = false;
    if (const auto records = LoggerConfig::parseCount(Edit2(), LoggerConfig::kMinRecords,
                                                      LoggerConfig::kMaxRecords)) {
        config.recordsPerMeasurement = *records;
    } else {
        session_.prompt().message(session_.text(Txt::ConfigRecordsOutOfRange));
        refused = true;
    }
    config.mode = mode_;
    if (const auto measurements = LoggerConfig::parseCount(Edit1(), LoggerConfig::kMinMeasurements,
                                                           LoggerConfig::kMaxMeasurements)) {
        config.measurements = *measurements;
    } else {
        session_.prompt().message(session_.text(Txt::ConfigMeasurementsOutOfRange));
        refused = true;
    }
    if (refused)
        return std::nullopt;
    return config;
}

void ConfigurationEditor::Button1Click() {
    const std::optional<LoggerConfig> config = checkedConfiguration();
    if (config)
        session_.SendConfigurationFrame(config->frame(session_.clock().now()));
}

void ConfigurationEditor::Button2Click() {
    Timer1->stop();
    session_.ClearStatusPanel2();
    open_ = false;
}
