#include "MainWindow.h"

#include "MainSession.h"
#include "MainViewState.h"
#include "analysis/AnalysisWindow.h"
#include "analysis/StatisticsWindow.h"
#include "app/ConfigurationDialog.h"
#include "app/DesignWidgets.h"
#include "chart/ChartWindow.h"
#include "records/DeviceListDialog.h"
#include "report/AboutBox.h"
#include "report/RecordReport.h"
#include "report/ReportPreviewDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>

namespace {

constexpr int kColumnWidths[] = {54, 61, 63, 125};
constexpr int kRowHeight = 20;
constexpr int kStatusWidths[] = {200, 300, 400};
constexpr int kStatusBarHeight = 20;

const QColor kYellow(0xFF, 0xFF, 0x00);

QColor colourOf(PanelColour c) {
    return c == PanelColour::Lime ? QColor(0x00, 0xFF, 0x00) : QColor(0xFF, 0x00, 0x00);
}

QLabel* heading(QWidget* parent, const char* name, int width) {
    auto* l = DesignWidgets::make<QLabel>(parent, name, {0, 4, width, 20});
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(10);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* caption(QWidget* parent, const char* name, QRect geometry) {
    auto* l = DesignWidgets::make<QLabel>(parent, name, geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QFrame* sunkenPanel(QWidget* parent, const char* name, QRect geometry) {
    auto* f = DesignWidgets::make<QFrame>(parent, name, geometry);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setLineWidth(1);
    return f;
}

// A coloured frame around one button: the colour says whether that step is done.
QFrame* statusPanel(QWidget* parent, const char* name, QRect geometry) {
    auto* f = DesignWidgets::make<QFrame>(parent, name, geometry);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setAutoFillBackground(true);
    return f;
}

QPushButton* buttonIn(QFrame* panel, const char* name) {
    const int m = 5;
    return DesignWidgets::make<QPushButton>(
        panel, name, {m, m, panel->width() - 2 * m, panel->height() - 2 * m});
}

void setPanelColour(QFrame* panel, PanelColour c) {
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colourOf(c));
    panel->setPalette(p);
}

void renderButton(QPushButton* b, const ButtonState& s) {
    b->setText(s.caption);
    b->setEnabled(s.enabled);
}

void renderEdit(QLineEdit* e, const EditState& s) {
    // Only a different text is written back, so the cursor of an edit being typed in stays.
    if (e->text() != s.text)
        e->setText(s.text);
    DesignWidgets::setReadOnly(e, s.readOnly);
}

void renderAction(QAction* a, const MenuItemState& s) {
    a->setText(s.caption);
    a->setEnabled(s.enabled);
}

} // namespace

MainWindow::MainWindow(MainSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("TForm1"));
    setFont(DesignWidgets::font());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    buildMenu();
    buildGrid(central);
    buildReportPanel(central);
    buildInstrumentPanel(central);
    buildRemotePanel(central);
    buildStatusBar();
    connectActions();
    fixClientSize();

    // "Selecionar": a new address check, then the device list, modal over this window. The
    // dialog is made once and kept; each showing reads the list anew.
    auto* deviceList = new DeviceListDialog(session_, this);
    connect(Button7_, &QPushButton::clicked, this, [this, deviceList] {
        session_.guarded([this] { session_.Button7Click(); });
        deviceList->exec();
    });

    // "Configurar": the poll reads frames, then the configuration dialog, modal over this
    // window. The dialog is made once and keeps its fields and mode between openings.
    auto* configuration = new ConfigurationDialog(session_, this);
    connect(Button4_, &QPushButton::clicked, this, [this, configuration] {
        session_.guarded([this] { session_.Button4Click(); });
        configuration->exec();
    });

    // "Sobre": made once, texts of the language at each showing.
    auto* about = new AboutBox(this);
    connect(mnSobre_, &QAction::triggered, this, [this, about] {
        about->applyLanguage(session_.controls().UiLanguage);
        about->exec();
    });

    // "Imprimir": the record report in the print preview, its texts taken from the window
    // as it is now.
    connect(Imprimir1_, &QAction::triggered, this, [this] {
        const RecordReport report(session_.frxReport1GetValue(QStringLiteral("file")),
                                  session_.frxReport1GetValue(QStringLiteral("file1")),
                                  session_.frxReport1GetValue(QStringLiteral("file2")));
        ReportPreviewDialog preview([&report](QPagedPaintDevice& d) { return report.print(d); },
                                    ReportPreviewDialog::textsFor(session_.controls().UiLanguage),
                                    this);
        preview.exec();
    });

    // "Gráfico": the chart window, made once and modal over this window; each showing
    // starts over with no measurement selected.
    auto* chart = new ChartWindow(session_, this);
    connect(Grafico1_, &QAction::triggered, this, [this, chart] {
        session_.guarded([this] { session_.Grafico1Click(); });
        chart->exec();
    });

    // "Análise" and "Estatísticas", beside "Gráfico" and enabled with it: windows made once
    // that follow the session while they are open.
    Analise1_ = new QAction(this);
    Analise1_->setObjectName(QStringLiteral("Analise1"));
    Estatisticas1_ = new QAction(this);
    Estatisticas1_->setObjectName(QStringLiteral("Estatisticas1"));
    menuBar()->insertActions(mnSobre_, {Analise1_, Estatisticas1_});
    auto* analysis = new AnalysisWindow(session_, this);
    auto* statistics = new StatisticsWindow(session_, this);
    for (const auto& [item, window] : {std::pair<QAction*, QDialog*>(Analise1_, analysis),
                                       std::pair<QAction*, QDialog*>(Estatisticas1_, statistics)})
        connect(item, &QAction::triggered, window, [w = window] {
            w->show();
            w->raise();
        });

    // "Abrir...", "Salvar como...", "Exportar CSV...": the session asks for the file when it
    // needs it (after checking the title, after clearing the record set). The data-file
    // dialogs are not translated.
    ExportarCsv1_ = new QAction(this);
    ExportarCsv1_->setObjectName(QStringLiteral("ExportarCsv1"));
    const QList<QAction*> fileItems = Arquivo1_->actions();
    Arquivo1_->insertAction(fileItems.value(fileItems.indexOf(Salvarcomo1_) + 1), ExportarCsv1_);
    auto askFile = [this](QFileDialog::AcceptMode mode, const QStringList& filters,
                          const QString& suffix, const QString& proposed) {
        QFileDialog dialog(this);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                           : QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        dialog.setDefaultSuffix(suffix);
        if (!proposed.isEmpty())
            dialog.selectFile(proposed);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    const QStringList dataFilters = {QStringLiteral("DADOS(*.DAT)"), QStringLiteral("Todos(*.*)")};
    connect(Abrir1_, &QAction::triggered, this, [this, askFile, dataFilters] {
        session_.guarded([&] {
            session_.Abrir1Click(
                [&] { return askFile(QFileDialog::AcceptOpen, dataFilters, {}, {}); });
        });
    });
    // The save dialog also serves the question asked before unsaved records are cleared.
    session_.chooseSaveFile = [this, askFile, dataFilters] {
        return askFile(QFileDialog::AcceptSave, dataFilters, QStringLiteral("dat"),
                       session_.proposedDataFileName());
    };
    connect(Salvarcomo1_, &QAction::triggered, this, [this] {
        session_.guarded([this] { session_.Salvarcomo1Click(session_.chooseSaveFile); });
    });
    connect(ExportarCsv1_, &QAction::triggered, this, [this, askFile] {
        session_.guarded([&] {
            session_.ExportarCsvClick([&] {
                return askFile(QFileDialog::AcceptSave, {session_.text(Txt::CsvFilter)},
                               QStringLiteral("csv"), session_.proposedCsvName());
            });
        });
    });

    connect(&session_, &MainSession::viewChanged, this, &MainWindow::render);
    render();
}

MainWindow::~MainWindow() {
    // The session may outlive the window; its save dialog goes with the window.
    session_.chooseSaveFile = {};
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    Arquivo1_ = new QMenu(this);
    Arquivo1_->setObjectName(QStringLiteral("Arquivo1"));
    Arquivo1_->menuAction()->setObjectName(QStringLiteral("Arquivo1Action"));
    auto action = [this](const char* name) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    Abrir1_ = action("Abrir1");
    Salvarcomo1_ = action("Salvarcomo1");
    Imprimir1_ = action("Imprimir1");
    mnSair_ = action("mnSair");
    Grafico1_ = action("Grafico1");
    mnSobre_ = action("mnSobre");

    Arquivo1_->addAction(Abrir1_);
    Arquivo1_->addAction(Salvarcomo1_);
    Arquivo1_->addSeparator();
    Arquivo1_->addAction(Imprimir1_);
    Arquivo1_->addAction(mnSair_);

    bar->addMenu(Arquivo1_);
    bar->addAction(Grafico1_);
    bar->addAction(mnSobre_);
}

void MainWindow::buildGrid(QWidget* parent) {
    // Header row plus fifteen record rows, with room for the vertical scroll bar.
    StringGrid1_ = DesignWidgets::make<QTableView>(parent, "StringGrid1", {8, 8, 322, 322});
    StringGrid1_->setModel(&session_.records());
    StringGrid1_->setFont(DesignWidgets::font());
    StringGrid1_->setShowGrid(true);
    StringGrid1_->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1_->setWordWrap(false);
    StringGrid1_->setTextElideMode(Qt::ElideNone);
    StringGrid1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* rows = StringGrid1_->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(kRowHeight);

    QHeaderView* columns = StringGrid1_->horizontalHeader();
    columns->setMinimumSectionSize(1);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    // The header texts carry their own blanks; they are shown as written.
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setTextElideMode(Qt::ElideNone);
    columns->setFixedHeight(kRowHeight);
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        columns->resizeSection(c, kColumnWidths[c]);
}

void MainWindow::buildReportPanel(QWidget* parent) {
    QFrame* panel = sunkenPanel(parent, "Panel1", {342, 8, 720, 148});
    Label5_ = heading(panel, "Label5", panel->width());

    const int labelX = 16, labelW = 120, editX = 140;
    auto field = [&](const char* label, const char* edit, int y, int width) {
        QLabel* l = caption(panel, label, {labelX, y, labelW, 21});
        auto* e = DesignWidgets::make<QLineEdit>(panel, edit, {editX, y, width, 21});
        l->setBuddy(e);
        return std::pair{l, e};
    };
    std::tie(Label1_, Edit3_) = field("Label1", "Edit3", 34, 420);
    std::tie(Label2_, Edit4_) = field("Label2", "Edit4", 60, 420);
    std::tie(Label3_, Edit5_) = field("Label3", "Edit5", 86, 420);
    std::tie(Label4_, Edit1_) = field("Label4", "Edit1", 112, 120);
    for (QLineEdit* e : {Edit3_, Edit4_, Edit5_})
        e->setMaxLength(kReportFieldMaxLength);
    DesignWidgets::setReadOnly(Edit1_, true);
}

void MainWindow::buildInstrumentPanel(QWidget* parent) {
    QFrame* panel = sunkenPanel(parent, "Panel2", {342, 164, 720, 166});
    Label6_ = heading(panel, "Label6", panel->width());

    const int captionX = 16, captionW = 170, valueX = 190, valueW = 300;
    auto line = [&](const char* captionName, const char* valueName, int y) {
        QLabel* c = caption(panel, captionName, {captionX, y, captionW, 20});
        QLabel* v = caption(panel, valueName, {valueX, y, valueW, 20});
        QFont f = v->font();
        f.setBold(true);
        v->setFont(f);
        return std::pair{c, v};
    };
    std::tie(Label8_, Label19_) = line("Label8", "Label19", 34);
    std::tie(Label9_, Label13_) = line("Label9", "Label13", 58);
    std::tie(Label10_, Label14_) = line("Label10", "Label14", 82);
    std::tie(Label11_, Label17_) = line("Label11", "Label17", 106);
    std::tie(Label12_, Label18_) = line("Label12", "Label18", 130);
}

void MainWindow::buildRemotePanel(QWidget* parent) {
    QFrame* panel = sunkenPanel(parent, "Panel3", {8, 338, 1054, 185});
    panel->setAutoFillBackground(true);
    QPalette yellow = panel->palette();
    yellow.setColor(QPalette::Window, kYellow);
    panel->setPalette(yellow);
    Label7_ = heading(panel, "Label7", panel->width());

    GroupBox1_ = DesignWidgets::make<QGroupBox>(panel, "GroupBox1", {12, 28, 176, 146});
    GroupBox3_ = DesignWidgets::make<QGroupBox>(GroupBox1_, "GroupBox3", {10, 22, 156, 112});
    Panel5_ = statusPanel(GroupBox3_, "Panel5", {18, 34, 120, 44});
    Button2_ = buttonIn(Panel5_, "Button2");

    GroupBox2_ = DesignWidgets::make<QGroupBox>(panel, "GroupBox2", {200, 28, 400, 146});
    Label15_ = caption(GroupBox2_, "Label15", {16, 28, 30, 21});
    Edit6_ = DesignWidgets::make<QLineEdit>(GroupBox2_, "Edit6", {52, 28, 70, 21});
    Label16_ = caption(GroupBox2_, "Label16", {146, 28, 40, 21});
    Edit7_ = DesignWidgets::make<QLineEdit>(GroupBox2_, "Edit7", {188, 28, 196, 21});
    Label15_->setBuddy(Edit6_);
    Label16_->setBuddy(Edit7_);
    for (QLineEdit* e : {Edit6_, Edit7_}) {
        DesignWidgets::setReadOnly(e, true);
        e->setAlignment(Qt::AlignCenter);
    }
    QFont bold = Edit7_->font();
    bold.setBold(true);
    Edit7_->setFont(bold);
    Panel6_ = statusPanel(GroupBox2_, "Panel6", {52, 74, 130, 44});
    Button7_ = buttonIn(Panel6_, "Button7");
    Panel7_ = statusPanel(GroupBox2_, "Panel7", {218, 74, 130, 44});
    Button3_ = buttonIn(Panel7_, "Button3");

    Button6_ = DesignWidgets::make<QPushButton>(panel, "Button6", {628, 46, 120, 32});
    Button4_ = DesignWidgets::make<QPushButton>(panel, "Button4", {628, 88, 120, 32});
    Button5_ = DesignWidgets::make<QPushButton>(panel, "Button5", {628, 130, 120, 32});

    Registros_ = DesignWidgets::make<QGroupBox>(panel, "Registros", {776, 28, 200, 70});
    CheckBox1_ = DesignWidgets::make<QCheckBox>(Registros_, "CheckBox1", {20, 30, 170, 24});
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(bar);
        l->setObjectName(QStringLiteral("StatusBar1_%1").arg(i));
        l->setFixedWidth(kStatusWidths[i]);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(l);
        StatusBar1_[i] = l;
    }
    DownloadProgress_ = new QProgressBar(bar);
    DownloadProgress_->setObjectName(QStringLiteral("DownloadProgress"));
    DownloadProgress_->setRange(0, 100);
    DownloadProgress_->setFixedWidth(kClientWidth - kStatusWidths[0] - kStatusWidths[1] -
                                     kStatusWidths[2] - 24);
    DownloadProgress_->hide();
    bar->addPermanentWidget(DownloadProgress_);
}

void MainWindow::connectActions() {
    MainSession* session = &session_;
    const std::pair<QPushButton*, void (MainSession::*)()> clicks[] = {
        {Button2_, &MainSession::Button2Click},
        {Button3_, &MainSession::Button3Click},
        {Button5_, &MainSession::Button5Click},
        {Button6_, &MainSession::Button6Click},
    };
    for (const auto& [button, handler] : clicks)
        connect(button, &QPushButton::clicked, this,
                [session, handler = handler] { session->guarded([=] { (session->*handler)(); }); });

    const std::pair<QLineEdit*, void (MainSession::*)(const QString&)> edits[] = {
        {Edit3_, &MainSession::Edit3Change},
        {Edit4_, &MainSession::Edit4Change},
        {Edit5_, &MainSession::Edit5Change},
    };
    for (const auto& [edit, handler] : edits)
        connect(edit, &QLineEdit::textEdited, this, [session, handler = handler](const QString& t) {
            session->guarded([&] { (session->*handler)(t); });
        });

    connect(CheckBox1_, &QCheckBox::clicked, this, [session](bool checked) {
        session->guarded([&] { session->CheckBox1Click(checked); });
    });

    // "Sair" ends the program at once; only unsaved records are asked about.
    connect(mnSair_, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::fixClientSize() {
    // The client area (everything below the menu bar) has the designed size; the window
    // cannot be resized.
    centralWidget()->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    // The window takes the size of its parts: menu bar, client area and status bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ensurePolished();
    layout()->activate();

    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void MainWindow::render() {
    const MainViewState& v = session_.view();

    setWindowTitle(v.caption);

    Arquivo1_->setTitle(v.Arquivo1.caption);
    Arquivo1_->menuAction()->setEnabled(v.Arquivo1.enabled);
    renderAction(Abrir1_, v.Abrir1);
    renderAction(Salvarcomo1_, v.Salvarcomo1);
    renderAction(ExportarCsv1_, v.ExportarCsv1);
    renderAction(Imprimir1_, v.Imprimir1);
    renderAction(mnSair_, v.mnSair);
    renderAction(Grafico1_, v.Grafico1);
    for (const auto& [item, caption] :
         {std::pair(Analise1_, Txt::Analise1), std::pair(Estatisticas1_, Txt::Estatisticas1)}) {
        item->setText(session_.text(caption));
        item->setEnabled(v.Grafico1.enabled);
    }
    renderAction(mnSobre_, v.mnSobre);

    const std::pair<QLabel*, const QString*> labels[] = {
        {Label1_, &v.Label1},   {Label2_, &v.Label2},   {Label3_, &v.Label3},
        {Label4_, &v.Label4},   {Label5_, &v.Label5},   {Label6_, &v.Label6},
        {Label7_, &v.Label7},   {Label8_, &v.Label8},   {Label9_, &v.Label9},
        {Label10_, &v.Label10}, {Label11_, &v.Label11}, {Label12_, &v.Label12},
        {Label13_, &v.Label13}, {Label14_, &v.Label14}, {Label15_, &v.Label15},
        {Label16_, &v.Label16}, {Label17_, &v.Label17}, {Label18_, &v.Label18},
        {Label19_, &v.Label19},
    };
    for (const auto& [label, text] : labels)
        label->setText(*text);

    GroupBox1_->setTitle(v.GroupBox1);
    GroupBox2_->setTitle(v.GroupBox2);
    GroupBox3_->setTitle(v.GroupBox3);
    Registros_->setTitle(v.Registros);

    renderEdit(Edit1_, v.Edit1);
    renderEdit(Edit3_, v.Edit3);
    renderEdit(Edit4_, v.Edit4);
    renderEdit(Edit5_, v.Edit5);
    renderEdit(Edit6_, v.Edit6);
    renderEdit(Edit7_, v.Edit7);

    renderButton(Button2_, v.Button2);
    renderButton(Button3_, v.Button3);
    renderButton(Button4_, v.Button4);
    renderButton(Button5_, v.Button5);
    renderButton(Button6_, v.Button6);
    renderButton(Button7_, v.Button7);

    CheckBox1_->setText(v.CheckBox1.caption);
    CheckBox1_->setEnabled(v.CheckBox1.enabled);
    CheckBox1_->setChecked(v.CheckBox1.checked);

    setPanelColour(Panel5_, v.Panel5);
    setPanelColour(Panel6_, v.Panel6);
    setPanelColour(Panel7_, v.Panel7);

    StringGrid1_->setEnabled(v.StringGrid1Enabled);
    const QModelIndex current = StringGrid1_->model()->index(v.StringGrid1CurrentRow - 1, 0);
    if (current.isValid() && current != StringGrid1_->currentIndex()) {
        StringGrid1_->setCurrentIndex(current);
        StringGrid1_->scrollTo(current);
    }

    for (int i = 0; i < 3; ++i)
        StatusBar1_[i]->setText(v.StatusBar1[std::size_t(i)]);
    DownloadProgress_->setVisible(v.DownloadProgress >= 0);
    DownloadProgress_->setValue(std::max(0, v.DownloadProgress));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    session_.guarded([this] { session_.FormShow(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // "Sair" and the title bar both end here; unsaved records are not left behind unasked.
    bool mayClose = true;
    session_.guarded([this, &mayClose] { mayClose = session_.mayClearRecords(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
