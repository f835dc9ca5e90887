#pragma once

#include "protocol/LoggerConfig.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class MainSession;
class Ticker;

// The configuration dialog (TForm3) without its widgets: the captions of the language, the
// PC's time and date refreshed every 500 ms, the interval, the two count fields, the mode
// and what "Enviar" and "Fechar" do. The count fields are the session's (every configuration
// reply writes the logger's counts into them); the rest lives as long as the editor, so the
// dialog keeps its contents and mode between openings. The window renders this state and
// forwards its input.
class ConfigurationEditor {
public:
    static constexpr int kClockRefreshMs = 500;
    static constexpr int kIntervalLength = 8;

    struct Captions {
        QString caption; // window title
        QString Label3, Label4, Label1, Label2, Label5, Label8;
        QString GroupBox1, RadioButton2, RadioButton3, Button1, Button2;
    };

    explicit ConfigurationEditor(MainSession& session);
    ~ConfigurationEditor();
    ConfigurationEditor(const ConfigurationEditor&) = delete;
    ConfigurationEditor& operator=(const ConfigurationEditor&) = delete;

    // Called after a change the window did not ask for (the clock refresh).
    void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }

    // --- actions ---
    // The dialog is shown: captions of the language, time and date, status panel 2 of the
    // main window emptied, clock refresh on.
    void FormShow();
    void Timer1Timer();
    // The fields as typed. The count fields take no typing while read-only.
    void MaskEdit1Change(const QString& text);
    void Edit2Change(const QString& text);
    void Edit1Change(const QString& text);
    void RadioButton2Click(); // fixed: 50 records, 1 measurement, both editable
    void RadioButton3Click(); // continuous: 3600 records, 1 measurement, both read-only
    // "Enviar": the checks below, then the frame goes out through the session.
    void Button1Click();
    // "Fechar": clock refresh off, status panel 2 emptied, the dialog closes.
    void Button2Click();

    // The configuration the fields describe. An interval that is not a time of day stops it
    // with a ConversionError; an interval of 00:00:00 is refused with a message. Otherwise
    // both count fields are checked, each with its message, and nullopt follows any message.
    std::optional<LoggerConfig> checkedConfiguration() const;

    // --- state ---
    const Captions& captions() const { return captions_; }
    QString Label6() const { return time_; } // PC time
    QString Label7() const { return date_; } // PC date
    QString MaskEdit1() const { return interval_; }
    QString Edit2() const; // records per measurement
    QString Edit1() const; // measurements
    bool Edit2ReadOnly() const { return mode_ == LoggerConfig::Mode::Continuous; }
    bool Edit1ReadOnly() const { return mode_ == LoggerConfig::Mode::Continuous; }
    bool RadioButton2Checked() const { return mode_ == LoggerConfig::Mode::Fixed; }
    bool RadioButton3Checked() const { return mode_ == LoggerConfig::Mode::Continuous; }
    LoggerConfig::Mode mode() const { return mode_; }
    bool isOpen() const { return open_; }

    std::unique_ptr<Ticker> Timer1; // clock refresh

private:
    void showClock();
    void setMode(LoggerConfig::Mode mode, const char* records);

    MainSession& session_;
    std::function<void()> changed_;
    Captions captions_;
    QString time_;
    QString date_;
    QString interval_ = QStringLiteral("00:00:01");
    LoggerConfig::Mode mode_ = LoggerConfig::Mode::Fixed;
    bool open_ = false;
};
