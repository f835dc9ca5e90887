#include "MainSession.h"

#include "ConversionError.h"
#include "Prompt.h"
#include "SettingsFile.h"
#include "link/SerialTransport.h"

MainSession::MainSession(Services services, QObject* parent)
    : QObject(parent), time_(services.time), clock_(services.clock), prompt_(services.prompt),
      controls_(services.prompt), usb_(std::move(services.transport)), poll_(time_, usb_),
      link_(time_, controls_, usb_, poll_), table_(controls_, clock_, services.regional),
      commands_({controls_, usb_, poll_, link_, table_, clock_, prompt_}),
      files_(controls_, table_, commands_.defaultFileName), chart_(controls_, table_),
      reports_(controls_, table_) {
    controls_.onChanged = [this] {
        files_.refreshExportCsv();
        refreshValueMarks();
        emit viewChanged();
    };
    poll_.onText = [this](const QByteArray& text) { link_.handleTextReply(text); };
    poll_.onFrame = [this] { commands_.dispatchFrame(); };
    link_.hooks.disconnecting = [this] {
        commands_.leaving();
        table_.ClearRecordSet();
    };
    link_.hooks.mayClearRecords = [this] { return table_.mayClearRecords(); };
    table_.askBeforeClearing = [this] { return askBeforeClearing(); };
    link_.hooks.supervised = [this] {
        commands_.updateDownloadProgress();
        poll_.RearmReceivePoll(commands_.RecordsReplyLength);
    };
    link_.hooks.linkFailure = [this] { LinkFailureReset(); };
    poll_.onInterfaceLost = [this] { InterfaceLost(); };
    MainControls::Events& events = controls_.events;
    events.linked = [this] { emit linked(); };
    events.unlinked = [this] { emit unlinked(); };
    events.configurationRead = [this] { emit configurationRead(); };
    events.downloadFinished = [this](bool complete) { emit downloadFinished(complete); };
    events.loggerAnswered = [this](int code) { emit loggerAnswered(code); };
    events.failed = [this](const QString& message) { emit failed(message); };
    link_.Timer1->setCallback([this] { guarded([this] { Timer1Timer(); }); });
    poll_.Timer2->setCallback([this] { guarded([this] { Timer2Timer(); }); });
    link_.Timer3->setCallback([this] { guarded([this] { Timer3Timer(); }); });
}

MainSession::~MainSession() = default;

Limits MainSession::limits() const {
    return limitStore_.get(table_.loggerInfo.measurementType, table_.loggerInfo.unitCode);
}

bool MainSession::setLimits(const QString& lower, const QString& upper) {
    const Limits::Parsed parsed = Limits::parse(lower, upper, table_.regional().decimalSeparator);
    switch (parsed.problem) {
    case Limits::Problem::LowerNotANumber:
        say(text(Txt::LimitLowerNotANumber).arg(lower.trimmed()));
        return false;
    case Limits::Problem::UpperNotANumber:
        say(text(Txt::LimitUpperNotANumber).arg(upper.trimmed()));
        return false;
    case Limits::Problem::LowerAboveUpper:
        say(text(Txt::LimitLowerAboveUpper));
        return false;
    case Limits::Problem::None:
        break;
    }
    const bool saved = limitStore_.put(table_.loggerInfo.measurementType,
                                       table_.loggerInfo.unitCode, parsed.limits);
    if (saved)
        changed();
    else
        say(text(Txt::LimitsCannotSave).arg(limitStore_.path()));
    return true;
}

Statistics MainSession::statistics() const {
    return Statistics::of(
        recordView(),
        Statistics::Quantity::of(table_.loggerInfo.measurementType, table_.loggerInfo.unitCode),
        limits());
}

void MainSession::refreshValueMarks() {
    const Limits l = limits();
    table_.records().setValueMarks(l.any() ? l.marks(recordView(), table_.records().rowCountTotal())
                                           : QList<RecordSet::Mark>());
}

void MainSession::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const ConversionError& e) {
        say(e.message());
    }
}

void MainSession::FormShow() {
    const SettingsFile::Result settings = Texts::isLanguage(languageOverride)
                                              ? SettingsFile::Result{languageOverride, false, {}}
                                              : SettingsFile::read();
    controls_.UiLanguage = settings.language;
    // A warning only: the program goes on in the language it has.
    if (settings.cannotOpen)
        prompt_.message(text(Txt::SettingsFileCannotOpen) + settings.problem);

    applyMainWindowTexts();

    link_.Timer1->stop();
    poll_.Timer2->stop();
    link_.Timer3->stop();

    MainViewState& view = controls_.view;
    view.Edit1.text.clear();
    for (EditState* e : {&view.Edit3, &view.Edit4, &view.Edit5}) {
        e->text.clear();
        e->readOnly = true;
    }
    for (QString* label :
         {&view.Label13, &view.Label14, &view.Label17, &view.Label18, &view.Label19})
        label->clear();
    view.Grafico1.enabled = false;

    controls_.stateWindowShown();

    // The record set starts empty, below the header row the texts gave it.
    table_.loggerInfo = {};
    table_.fill = {};
    table_.records().setRowCountTotal(2);
    table_.records().clearBody();
    view.StringGrid1CurrentRow = 1;

    usb_.UsbOpen = false;
    usb_.UsbStatus = 0;
    poll_.ReceiveMode = ReceiveModeKind::Frame;
    link_.reset();
    commands_.RecordsReplyLength = 0;
    table_.RecordOrigin = RecordOriginKind::Downloaded;
    controls_.RecordingRequested = false;
    changed();
}

void MainSession::Button2Click() {
    // Closing leaves the records on screen, but the next connection would clear them. The
    // interface may have failed while the question was open: then there is nothing to close.
    if (usb_.UsbOpen && (!table_.mayClearRecords() || !usb_.UsbOpen))
        return;
    MainViewState& view = controls_.view;
    view.StatusBar1[1].clear();
    view.StatusBar1[2].clear();

    if (!usb_.UsbOpen) {
        if (usb_.open()) {
            controls_.stateUsbOpened();
            view.StatusBar1[0] = text(Txt::UsbConnected);
            changed();
            return;
        }
        poll_.Timer2->stop();
        link_.Timer3->stop();
        controls_.stateUsbOpenFailed();
        say(text(Txt::UsbOpenFailed));
        view.StatusBar1[0] = text(Txt::UsbDisconnected);
        changed();
        return;
    }

    usb_.close();
    link_.interfaceClosed();
    poll_.Timer2->stop();
    controls_.stateUsbClosed();
    view.StatusBar1 = {text(Txt::UsbDisconnected), QString(), QString()};
    changed();
    controls_.events.unlinked();
}

void MainSession::LinkFailureReset(Txt why) {
    // The device is closed too, so that the interface can be opened again without a restart.
    usb_.close();
    poll_.Timer2->stop();
    link_.failureReset();
    controls_.view.DownloadProgress = -1;
    controls_.stateLinkFailureReset();
    say(text(why));
    controls_.view.StatusBar1 = {text(Txt::UsbDisconnectedAfterReset), QString(), QString()};
    changed();
    controls_.events.unlinked();
}

void MainSession::InterfaceLost() {
    // Nothing more can go out: the PIO sequence stops with the poll and the supervision.
    link_.Timer1->stop();
    poll_.ReceiveMode = ReceiveModeKind::Frame;
    LinkFailureReset(Txt::InterfaceLost);
}

void MainSession::Edit3Change(const QString& text) {
    controls_.view.Edit3.text = text.left(kReportFieldMaxLength);
}

void MainSession::Edit4Change(const QString& text) {
    controls_.view.Edit4.text = text.left(kReportFieldMaxLength);
}

void MainSession::Edit5Change(const QString& text) {
    controls_.view.Edit5.text = text.left(kReportFieldMaxLength);
}

void MainSession::CheckBox1Click(bool checked) {
    controls_.view.CheckBox1.checked = checked;
    controls_.RecordingRequested = checked;
}

void MainSession::Button4Click() {
    poll_.ReceiveMode = ReceiveModeKind::Frame;
    changed();
}

void MainSession::ClearStatusPanel2() {
    controls_.view.StatusBar1[2].clear();
    changed();
}

void MainSession::DeviceChosen(const QString& number, const QString& address) {
    controls_.view.Edit6.text = number;
    controls_.view.Edit7.text = address;
    controls_.view.Button3.enabled = true;
    changed();
}

void MainSession::DeviceNumberSet(const QString& number) {
    controls_.view.Edit6.text = number;
    changed();
}

void MainSession::DeviceListShown() {
    controls_.view.Button3.enabled = true;
    changed();
}

void MainSession::DeviceListClosed() {
    if (!controls_.view.Edit7.text.isEmpty()) {
        controls_.view.Panel6 = PanelColour::Lime;
        changed();
    }
}

void MainSession::applyMainWindowTexts() {
    MainViewState& view = controls_.view;
    const std::pair<QString*, Txt> captions[] = {
        {&view.Arquivo1.caption, Txt::Arquivo1},
        {&view.Abrir1.caption, Txt::Abrir1},
        {&view.Salvarcomo1.caption, Txt::Salvarcomo1},
        {&view.Imprimir1.caption, Txt::Imprimir1},
        {&view.mnSair.caption, Txt::mnSair},
        {&view.Grafico1.caption, Txt::Grafico1},
        {&view.mnSobre.caption, Txt::mnSobre},
        {&view.Label1, Txt::Label1},
        {&view.Label2, Txt::Label2},
        {&view.Label3, Txt::Label3},
        {&view.Label4, Txt::Label4},
        {&view.Label5, Txt::Label5},
        {&view.Label6, Txt::Label6},
        {&view.Label7, Txt::Label7},
        {&view.Label8, Txt::Label8},
        {&view.Label9, Txt::Label9},
        {&view.Label10, Txt::Label10},
        {&view.Label11, Txt::Label11},
        {&view.Label12, Txt::Label12},
        {&view.Label15, Txt::Label15},
        {&view.Label16, Txt::Label16},
        {&view.GroupBox1, Txt::GroupBox1},
        {&view.GroupBox2, Txt::GroupBox2},
        {&view.GroupBox3, Txt::GroupBox3},
        {&view.Registros, Txt::Registros},
        {&view.Button2.caption, Txt::Button2},
        {&view.Button3.caption, Txt::Button3},
        {&view.Button4.caption, Txt::Button4},
        {&view.Button5.caption, Txt::Button5},
        {&view.Button6.caption, Txt::Button6},
        {&view.Button7.caption, Txt::Button7},
        {&view.CheckBox1.caption, Txt::CheckBox1},
    };
    for (const auto& [caption, id] : captions)
        *caption = text(id);
    // The header row is there from the start, so that the first download is saved with it.
    table_.writeHeaderRow();
}
