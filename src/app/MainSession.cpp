#include "MainSession.h"

#include "ConversionError.h"
#include "Prompt.h"
#include "SettingsFile.h"
#include "link/SerialTransport.h"

MainSession::MainSession(Services services, QObject* parent)
    : QObject(parent), RxBuffer(kRxBufferSize, 0), time_(services.time), clock_(services.clock),
      prompt_(services.prompt), transport_(std::move(services.transport)),
      regional_(services.regional), view_(MainViewState::designed()) {
    Timer1 = time_.createTicker();
    Timer2 = time_.createTicker();
    Timer3 = time_.createTicker();
    Timer1->setCallback([this] { guarded([this] { Timer1Timer(); }); });
    Timer2->setCallback([this] { guarded([this] { Timer2Timer(); }); });
    Timer3->setCallback([this] { guarded([this] { Timer3Timer(); }); });
    Timer1->setInterval(400);
    Timer2->setInterval(180);
    Timer3->setInterval(1000);
}

MainSession::~MainSession() = default;

const RecordView& MainSession::recordView() const {
    // Date cells are month first when the English interface wrote them.
    const bool monthFirst =
        RecordOrigin == RecordOriginKind::FromFile ? fileDatesMonthFirst : UiLanguage == 'i';
    return recordView_.get(
        records_, {view_.Edit1.text, monthFirst, regional_.decimalSeparator, view_.Label14});
}

Limits MainSession::limits() const {
    return limitStore_.get(loggerInfo.measurementType, loggerInfo.unitCode);
}

bool MainSession::setLimits(const QString& lower, const QString& upper) {
    const Limits::Parsed parsed = Limits::parse(lower, upper, regional_.decimalSeparator);
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
    const bool saved =
        limitStore_.put(loggerInfo.measurementType, loggerInfo.unitCode, parsed.limits);
    if (saved)
        changed();
    else
        say(text(Txt::LimitsCannotSave).arg(limitStore_.path()));
    return true;
}

Statistics MainSession::statistics() const {
    return Statistics::of(recordView(),
                          Statistics::Quantity::of(loggerInfo.measurementType, loggerInfo.unitCode),
                          limits());
}

void MainSession::refreshValueMarks() {
    const Limits l = limits();
    records_.setValueMarks(l.any() ? l.marks(recordView(), records_.rowCountTotal())
                                   : QList<RecordSet::Mark>());
}

void MainSession::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const ConversionError& e) {
        say(e.message());
    }
}

void MainSession::say(const QString& message) {
    changed();
    prompt_.message(message);
    emit failed(message);
}

void MainSession::FormShow() {
    const SettingsFile::Result settings = Texts::isLanguage(languageOverride)
                                              ? SettingsFile::Result{languageOverride, false, {}}
                                              : SettingsFile::read();
    UiLanguage = settings.language;
    // A warning only: the program goes on in the language it has.
    if (settings.cannotOpen)
        prompt_.message(Texts::text(Txt::SettingsFileCannotOpen, UiLanguage) + settings.problem);

    applyMainWindowTexts();

    Timer1->stop();
    Timer2->stop();
    Timer3->stop();

    view_.Edit1.text.clear();
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5}) {
        e->text.clear();
        e->readOnly = true;
    }
    for (QString* label :
         {&view_.Label13, &view_.Label14, &view_.Label17, &view_.Label18, &view_.Label19})
        label->clear();
    view_.Grafico1.enabled = false;

    stateWindowShown();

    // The record set starts empty, below the header row the texts gave it.
    loggerInfo = {};
    fill = {};
    records_.setRowCountTotal(2);
    records_.clearBody();
    view_.StringGrid1CurrentRow = 1;

    UsbOpen = false;
    UsbStatus = 0;
    ReceiveMode = ReceiveModeKind::Frame;
    BtState = 0;
    RemoteConnected = false;
    moduleLinked_ = false;
    Status_conexao = 0;
    tempo_disp = 0;
    PioStep = 0;
    RecordsReplyLength = 0;
    RecordOrigin = RecordOriginKind::Downloaded;
    RecordingRequested = false;
    changed();
}

void MainSession::Edit3Change(const QString& text) {
    view_.Edit3.text = text.left(kReportFieldMaxLength);
}

void MainSession::Edit4Change(const QString& text) {
    view_.Edit4.text = text.left(kReportFieldMaxLength);
}

void MainSession::Edit5Change(const QString& text) {
    view_.Edit5.text = text.left(kReportFieldMaxLength);
}

void MainSession::CheckBox1Click(bool checked) {
    view_.CheckBox1.checked = checked;
    RecordingRequested = checked;
}

void MainSession::applyMainWindowTexts() {
    const std::pair<QString*, Txt> captions[] = {
        {&view_.Arquivo1.caption, Txt::Arquivo1},
        {&view_.Abrir1.caption, Txt::Abrir1},
        {&view_.Salvarcomo1.caption, Txt::Salvarcomo1},
        {&view_.Imprimir1.caption, Txt::Imprimir1},
        {&view_.mnSair.caption, Txt::mnSair},
        {&view_.Grafico1.caption, Txt::Grafico1},
        {&view_.mnSobre.caption, Txt::mnSobre},
        {&view_.Label1, Txt::Label1},
        {&view_.Label2, Txt::Label2},
        {&view_.Label3, Txt::Label3},
        {&view_.Label4, Txt::Label4},
        {&view_.Label5, Txt::Label5},
        {&view_.Label6, Txt::Label6},
        {&view_.Label7, Txt::Label7},
        {&view_.Label8, Txt::Label8},
        {&view_.Label9, Txt::Label9},
        {&view_.Label10, Txt::Label10},
        {&view_.Label11, Txt::Label11},
        {&view_.Label12, Txt::Label12},
        {&view_.Label15, Txt::Label15},
        {&view_.Label16, Txt::Label16},
        {&view_.GroupBox1, Txt::GroupBox1},
        {&view_.GroupBox2, Txt::GroupBox2},
        {&view_.GroupBox3, Txt::GroupBox3},
        {&view_.Registros, Txt::Registros},
        {&view_.Button2.caption, Txt::Button2},
        {&view_.Button3.caption, Txt::Button3},
        {&view_.Button4.caption, Txt::Button4},
        {&view_.Button5.caption, Txt::Button5},
        {&view_.Button6.caption, Txt::Button6},
        {&view_.Button7.caption, Txt::Button7},
        {&view_.CheckBox1.caption, Txt::CheckBox1},
    };
    for (const auto& [caption, id] : captions)
        *caption = text(id);
    // The header row is there from the start, so that the first download is saved with it.
    writeHeaderRow();
}

// --- control states ---

void MainSession::disableCheckBox(bool uncheck) {
    view_.CheckBox1.enabled = false;
    if (uncheck) {
        view_.CheckBox1.checked = false;
        RecordingRequested = false;
    }
}

void MainSession::setRemoteDeviceButtons(bool on) {
    view_.Button4.enabled = on;
    view_.Button5.enabled = on;
    view_.Button6.enabled = on;
}

void MainSession::stateWindowShown() {
    view_.Button2.enabled = true;
    view_.Button3.enabled = false;
    view_.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view_.StringGrid1Enabled = false;
    view_.Grafico1.enabled = false;
}

void MainSession::stateUsbOpened() {
    view_.Button3.enabled = !view_.Edit6.text.isEmpty();
    view_.Button7.enabled = true;
    view_.Panel5 = PanelColour::Lime;
    view_.Button2.caption = text(Txt::UsbButtonWhileOpen);
}

void MainSession::stateUsbOpenFailed() {
    view_.Button3.enabled = false;
    view_.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
}

void MainSession::stateUsbClosed() {
    view_.Button3.enabled = false;
    view_.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view_.Panel5 = PanelColour::Red;
    view_.Panel6 = PanelColour::Red;
    view_.Edit6.text.clear();
    view_.Edit7.text.clear();
    view_.Button2.caption = text(Txt::UsbButtonWhileClosed);
}

void MainSession::stateLinkFailureReset() {
    view_.Button2.enabled = true;
    view_.Button3.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view_.Button3.caption = text(Txt::RemoteButtonConnect);
    view_.Button2.caption = text(Txt::UsbButtonWhileClosed);
}

void MainSession::stateSelecting() {
    BtState = 0;
}

void MainSession::stateRemoteConnectStarted() {
    view_.Button2.enabled = false;
}

void MainSession::stateAlreadyLinked() {
    view_.Button2.enabled = false;
    view_.Button3.enabled = false;
    view_.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
}

void MainSession::stateNewLink() {
    view_.Button3.enabled = false;
    view_.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view_.Panel7 = PanelColour::Lime;
}

void MainSession::stateLinkError() {
    view_.Button2.enabled = true;
    view_.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view_.Button3.caption = text(Txt::RemoteButtonConnect);
}

void MainSession::stateLinkLost() {
    stateLinkError();
    view_.Panel7 = PanelColour::Red;
}

void MainSession::statePioAcknowledged() {
    view_.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view_.Button3.caption = text(Txt::RemoteButtonDisconnect);
    view_.Panel7 = PanelColour::Lime;
}

void MainSession::stateAccessConfirmed() {
    view_.Button3.caption = text(Txt::RemoteButtonDisconnect);
}

void MainSession::stateConfigurationReceived() {
    view_.Button3.enabled = true;
    view_.Button7.enabled = false;
    view_.Button4.enabled = true;
    const bool hasRecords = loggerInfo.storedMeasurements > 0;
    view_.Button5.enabled = hasRecords;
    view_.Button6.enabled = hasRecords;
    view_.CheckBox1.enabled = true;
    view_.Panel7 = PanelColour::Lime;
}

void MainSession::stateDownloadFinished() {
    setRemoteDeviceButtons(true);
    view_.CheckBox1.enabled = true;
    view_.Grafico1.enabled = true;
    view_.Imprimir1.enabled = true;
    view_.Salvarcomo1.enabled = true;
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->readOnly = false;
}

void MainSession::stateRemoteDisconnectStarted() {
    view_.Button2.enabled = false;
    // The logger is being left: no command may start until the link is gone.
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
}

void MainSession::stateAccessTimedOut() {
    view_.Button3.enabled = true;
}

void MainSession::stateSendFailureConnecting() {
    view_.Button3.enabled = false;
}
