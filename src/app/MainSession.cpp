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
        emit viewChanged();
    };
    poll_.onText = [this](const QByteArray& text) { link_.handleTextReply(text); };
    poll_.onFrame = [this] { commands_.dispatchFrame(); };
    link_.hooks.disconnecting = [this] {
        commands_.SendRecordingSwitch();
        table_.ClearRecordSet();
    };
    link_.hooks.supervised = [this] {
        commands_.updateDownloadProgress();
        poll_.RearmReceivePoll(commands_.RecordsReplyLength);
    };
    link_.hooks.linkFailure = [this] { LinkFailureReset(); };
    link_.Timer1->setCallback([this] { guarded([this] { Timer1Timer(); }); });
    poll_.Timer2->setCallback([this] { guarded([this] { Timer2Timer(); }); });
    link_.Timer3->setCallback([this] { guarded([this] { Timer3Timer(); }); });
}

MainSession::~MainSession() = default;

void MainSession::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const ConversionError& e) {
        say(e.message());
    }
}

void MainSession::FormShow() {
    const SettingsFile::Result settings = Texts::isLanguage(languageOverride)
                                              ? SettingsFile::Result{languageOverride, false}
                                              : SettingsFile::read();
    controls_.UiLanguage = settings.language;
    if (settings.cannotOpen)
        say(text(Txt::SettingsFileCannotOpen));

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

    // The record set starts empty; its header row keeps what the texts gave it (Portuguese
    // only) until the first full reset writes the headers of the language.
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
}

void MainSession::LinkFailureReset() {
    // The device is closed too, so that the interface can be opened again without a restart.
    usb_.close();
    poll_.Timer2->stop();
    link_.failureReset();
    controls_.view.DownloadProgress = -1;
    controls_.stateLinkFailureReset();
    say(text(Txt::UsbOpenFailed));
    controls_.view.StatusBar1 = {text(Txt::UsbDisconnectedAfterReset), QString(), QString()};
    changed();
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
    // Spanish and English keep the design texts; Portuguese sets its own captions and the
    // header row of the grid.
    if (controls_.UiLanguage != 'p')
        return;
    auto p = [](Txt id) { return Texts::text(id, 'p'); };
    MainViewState& view = controls_.view;
    view.Arquivo1.caption = p(Txt::Arquivo1);
    view.Abrir1.caption = p(Txt::Abrir1);
    view.Salvarcomo1.caption = p(Txt::Salvarcomo1);
    view.Imprimir1.caption = p(Txt::Imprimir1);
    view.mnSair.caption = p(Txt::mnSair);
    view.Grafico1.caption = p(Txt::Grafico1);
    view.mnSobre.caption = p(Txt::mnSobre);
    view.Label5 = p(Txt::Label5);
    view.Label1 = p(Txt::Label1);
    view.Label2 = p(Txt::Label2);
    view.Label3 = p(Txt::Label3);
    view.Label4 = p(Txt::Label4);
    view.Label6 = p(Txt::Label6);
    view.Label7 = p(Txt::Label7);
    view.Label8 = p(Txt::Label8);
    view.Label9 = p(Txt::Label9);
    view.Label10 = p(Txt::Label10);
    view.GroupBox1 = p(Txt::GroupBox1);
    view.Button2.caption = p(Txt::Button2);
    view.GroupBox2 = p(Txt::GroupBox2);
    view.Button3.caption = p(Txt::Button3);
    view.Registros = p(Txt::Registros);
    view.CheckBox1.caption = p(Txt::CheckBox1);
    view.Button6.caption = p(Txt::Button6);
    view.Button4.caption = p(Txt::Button4);
    view.Button5.caption = p(Txt::Button5);
    table_.records().setRow(
        0, {p(Txt::HeaderRecord), p(Txt::HeaderDate), p(Txt::HeaderTime), p(Txt::HeaderValue)});
}
