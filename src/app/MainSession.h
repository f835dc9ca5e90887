#pragma once

#include "MainControls.h"
#include "Regional.h"
#include "Ticker.h"
#include "analysis/LimitStore.h"
#include "analysis/Statistics.h"
#include "chart/ChartActions.h"
#include "chart/ChartSource.h"
#include "link/BleLink.h"
#include "link/LoggerCommands.h"
#include "link/ReceivePoll.h"
#include "link/UsbInterface.h"
#include "records/DataFileActions.h"
#include "records/RecordTable.h"
#include "report/ReportActions.h"

#include <QObject>

#include <functional>
#include <memory>

class Clock;
class Prompt;
class SerialTransport;

// The one session of a run. It keeps the handlers the windows call, named after the
// described handlers, and the main window's shared state, and sequences the parts: the USB
// interface, the receive poll, the Bluetooth link, the logger commands, the record table,
// the data-file actions, the chart's menu item and the report's variables. Each handler
// changes the state, then the view, then tells the window.
class MainSession : public QObject {
    Q_OBJECT
public:
    struct Services {
        TimeBase& time;
        const Clock& clock;
        Prompt& prompt;
        std::unique_ptr<SerialTransport> transport;
        Regional regional;
    };

    explicit MainSession(Services services, QObject* parent = nullptr);
    ~MainSession() override;

    // A language given on the command line; 0 reads it from the settings file.
    char languageOverride = 0;

    // --- main window ---
    // The main window is shown for the first time: settings, texts, initial state.
    void FormShow();
    // The interface button: opens or closes the USB interface.
    void Button2Click();
    // Run after a failed write anywhere: marks the interface closed and resets the controls.
    // `why` is the message shown.
    void LinkFailureReset(Txt why = Txt::UsbOpenFailed);
    // The port reported an error or hang-up (an adapter unplugged): as a failed write.
    void InterfaceLost();
    // The report data fields as the user types them (at most 50 characters each).
    void Edit3Change(const QString& text);
    void Edit4Change(const QString& text);
    void Edit5Change(const QString& text);
    // "Ativar registrar": recording is switched on at the next disconnect when checked.
    void CheckBox1Click(bool checked);
    // The remote button: connects to the logger at the "MAC:" address, or disconnects.
    void Button3Click() { link_.Button3Click(); }
    // "Selecionar": forces a new address check; the window then opens the device list.
    void Button7Click() { link_.Button7Click(); }
    void Button5Click() { commands_.Button5Click(); } // "Limpar"
    void Button6Click() { commands_.Button6Click(); } // "Carregar ": download every record
    void Timer1Timer() { link_.Timer1Timer(); }       // PIO sequence
    void Timer2Timer() { poll_.Timer2Timer(); }       // receive poll
    void Timer3Timer() { link_.Timer3Timer(); }       // supervision
    // Ends whatever the link to the logger is doing (the access still under way included)
    // with the disconnect sequence, unless it is already running. True while a disconnect
    // is under way.
    bool ReleaseLogger() { return link_.ReleaseLogger(); }

    // --- configuration dialog ---
    // "Configurar": the poll reads frames; the window then shows the dialog.
    void Button4Click();
    // The dialog was shown or closed: status panel 2 is emptied.
    void ClearStatusPanel2();
    void SendConfigurationFrame(const QByteArray& frame) {
        commands_.SendConfigurationFrame(frame);
    }

    // --- device list ---
    // The device list puts an entry's 1-based number and its address into "N°:" and "MAC:".
    void DeviceChosen(const QString& number, const QString& address);
    // "N°:" alone: 0 for an empty list; cleared while the list is being edited.
    void DeviceNumberSet(const QString& number);
    // The device list was shown: the remote button may be used.
    void DeviceListShown();
    // The device list closed with nothing pending: a chosen address turns Panel6 lime.
    void DeviceListClosed();

    // --- files, chart and report ---
    using FileChooser = DataFileActions::FileChooser;
    void Salvarcomo1Click(const FileChooser& chooseFile) { files_.Salvarcomo1Click(chooseFile); }
    void Abrir1Click(const FileChooser& chooseFile) { files_.Abrir1Click(chooseFile); }
    void ExportarCsvClick(const FileChooser& chooseFile) { files_.ExportarCsvClick(chooseFile); }
    QString proposedDataFileName() const { return files_.proposedDataFileName(); }
    QString proposedCsvName() const { return files_.proposedCsvName(); }
    void Grafico1Click() { chart_.Grafico1Click(); }
    void ChartClosed() { chart_.ChartClosed(); }
    // What the chart window reads and tells.
    ChartSource chartSource() {
        return {controls_, table_, prompt_, [this] { ChartClosed(); }};
    }
    QString frxReport1GetValue(const QString& name) const {
        return reports_.frxReport1GetValue(name);
    }

    // --- unsaved records ---
    // The save dialog, for records saved on the way out of an action that clears them.
    FileChooser chooseSaveFile;
    // The table holds downloaded records that were not saved.
    bool recordsUnsaved() const { return table_.unsavedRecords; }
    // Run first by every action that clears the record set: unsaved records are saved,
    // discarded or kept as the user answers. True when the action may go on.
    bool mayClearRecords() { return table_.mayClearRecords(); }

    // --- the parts ---
    MainControls& controls() { return controls_; }
    const MainControls& controls() const { return controls_; }
    UsbInterface& usb() { return usb_; }
    const UsbInterface& usb() const { return usb_; }
    ReceivePoll& poll() { return poll_; }
    const ReceivePoll& poll() const { return poll_; }
    BleLink& link() { return link_; }
    const BleLink& link() const { return link_; }
    LoggerCommands& commands() { return commands_; }
    const LoggerCommands& commands() const { return commands_; }
    RecordTable& table() { return table_; }
    const RecordTable& table() const { return table_; }
    DataFileActions& files() { return files_; }

    // --- analysis: statistics and limits over the typed view ---
    // The limits of the record set's quantity and unit.
    Limits limits() const;
    // Limits as the user typed them (empty: none); a text that is no number or a lower limit
    // above the upper one is refused with a message and the limits in use stay.
    bool setLimits(const QString& lower, const QString& upper);
    Statistics statistics() const;
    // The record table as typed values (dates with their year, values as numbers), built
    // again only after the table or what it is read with changed.
    const RecordView& recordView() const { return table_.recordView(); }

    const MainViewState& view() const { return controls_.view; }
    RecordSet& records() { return table_.records(); }
    const RecordSet& records() const { return table_.records(); }
    SerialTransport& transport() { return usb_.transport(); }
    Prompt& prompt() { return prompt_; }
    const Clock& clock() const { return clock_; }
    const Regional& regional() const { return table_.regional(); }
    TimeBase& timeBase() { return time_; }
    QString text(Txt id) const { return controls_.text(id); }

    // Runs an action; a conversion error stops it and its message is shown, as the
    // toolkit's default handler would.
    void guarded(const std::function<void()>& action);

signals:
    void viewChanged();
    // What those who wait on the logger (the command line, tests) wait for.
    void linked();   // the module reports the link to the logger
    void unlinked(); // the link is gone: dropped, lost, or the interface closed
    void configurationRead();
    void downloadFinished(bool complete); // false: fewer records came than announced
    void loggerAnswered(int code);        // a reply frame with this command code was handled
    void failed(const QString& message);  // an action gave up; the message says why

private:
    // The question about unsaved records (app/UnsavedRecords.cpp).
    bool askBeforeClearing();
    void applyMainWindowTexts();
    // The record table shows the values outside the limits.
    void refreshValueMarks();
    void changed() { controls_.changed(); }
    void say(const QString& message) { controls_.say(message); }

    TimeBase& time_;
    const Clock& clock_;
    Prompt& prompt_;
    MainControls controls_;
    UsbInterface usb_;
    ReceivePoll poll_;
    BleLink link_;
    RecordTable table_;
    LoggerCommands commands_;
    DataFileActions files_;
    ChartActions chart_;
    ReportActions reports_;
    LimitStore limitStore_;
};
