#include "ChartWindow.h"
#include "ChartPicture.h"

#include "app/DesignWidgets.h"
#include "app/MainSession.h"
#include "report/ChartReport.h"
#include "report/ReportPreviewDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

const QColor kTeal(0, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);

QLabel* caption(QWidget* parent, const char* name, QRect geometry) {
    auto* l = DesignWidgets::make<QLabel>(parent, name, geometry);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kYellow);
    l->setPalette(p);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

} // namespace

ChartWindow::ChartWindow(MainSession& session, QWidget* parent)
    : QDialog(parent), session_(session), controller_(session.chartSource()) {
    setObjectName(QStringLiteral("TForm2"));
    // A title bar without any button: the window is left through "Fechar" only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFont(DesignWidgets::font(true));
    build();
    connectActions();
    render();
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    menu_ = new QMenuBar(this);
    menu_->setObjectName(QStringLiteral("MainMenu1"));
    Print1_ = new QAction(this);
    Print1_->setObjectName(QStringLiteral("Print1"));
    menu_->addAction(Print1_);
    layout->setMenuBar(menu_);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setFixedSize(kClientWidth, kClientHeight);
    client_->setAutoFillBackground(true);
    QPalette teal = client_->palette();
    teal.setColor(QPalette::Window, kTeal);
    client_->setPalette(teal);
    layout->addWidget(client_);

    Image1_ = DesignWidgets::make<QLabel>(client_, "Image1",
                                          {8, 20, ChartPainter::kWidth, ChartPainter::kHeight});
    Image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The measurement list stands to the right of the surface.
    Label4_ = caption(client_, "Label4", {664, 20, 136, 18});
    ListBox1_ = DesignWidgets::make<QListWidget>(client_, "ListBox1", {664, 40, 134, 334});
    ListBox1_->setSelectionMode(QAbstractItemView::SingleSelection);
    Label4_->setBuddy(ListBox1_);
    Button2_Sel_Med_ =
        DesignWidgets::make<QPushButton>(client_, "Button2_Sel_Med", {664, 382, 134, 30});

    // Under the surface, left to right: start record, final record, last record, then the
    // two buttons.
    Label1_ = caption(client_, "Label1", {8, 422, 120, 18});
    ComboBox1_ = DesignWidgets::make<QComboBox>(client_, "ComboBox1", {8, 442, 120, 24});
    ComboBox1_->setEditable(true);
    ComboBox1_->setInsertPolicy(QComboBox::NoInsert);
    Label1_->setBuddy(ComboBox1_);

    Label3_ = caption(client_, "Label3", {144, 422, 110, 18});
    Edit1_ = DesignWidgets::make<QLineEdit>(client_, "Edit1", {144, 443, 100, 22});
    Label3_->setBuddy(Edit1_);

    Label2_ = caption(client_, "Label2", {262, 422, 110, 18});
    Label2_->setAutoFillBackground(true);
    QPalette blue = Label2_->palette();
    blue.setColor(QPalette::Window, kBlue);
    Label2_->setPalette(blue);
    Edit2_ = DesignWidgets::make<QLineEdit>(client_, "Edit2", {262, 443, 100, 22});
    Label2_->setBuddy(Edit2_);
    for (QLineEdit* e : {Edit1_, Edit2_}) {
        DesignWidgets::setReadOnly(e, true);
        e->setAlignment(Qt::AlignCenter);
    }

    // Between the record fields and the buttons: why a typed start was refused.
    StartHint_ = caption(client_, "StartHint", {372, 420, 142, 50});
    StartHint_->setWordWrap(true);
    StartHint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button1_ = DesignWidgets::make<QPushButton>(client_, "Button1", {520, 438, 134, 30});
    Button2_Fechar_ =
        DesignWidgets::make<QPushButton>(client_, "Button2_Fechar", {664, 438, 134, 30});
    for (QPushButton* b : {Button1_, Button2_Sel_Med_, Button2_Fechar_})
        b->setAutoDefault(false);
}

void ChartWindow::act(const std::function<void()>& action) {
    session_.guarded(action);
    render();
}

void ChartWindow::connectActions() {
    // Mouse clicks and moves with the keys both select a measurement; the list getting the
    // focus marks an entry as current without selecting it, which is no choice.
    connect(ListBox1_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = ListBox1_->selectedItems();
        if (rendering_ || selected.isEmpty())
            return;
        const int row = ListBox1_->row(selected.first());
        act([this, row] { controller_.ListBox1Click(row); });
    });
    connect(ListBox1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        act([this, item] { controller_.ListBox1Click(ListBox1_->row(item)); });
    });
    connect(Button2_Sel_Med_, &QPushButton::clicked, this,
            [this] { act([this] { controller_.Button2_Sel_MedClick(); }); });
    // A start picked from the list; typed text is taken when it is confirmed or left.
    connect(ComboBox1_, &QComboBox::activated, this, [this](int index) {
        if (!rendering_)
            act([this, index] { controller_.ComboBox1Change(index); });
    });
    connect(ComboBox1_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (rendering_ || ComboBox1_->currentText() == controller_.view().ComboBox1Text)
            return;
        const QString typed = ComboBox1_->currentText();
        act([this, typed] { controller_.ComboBox1Typed(typed); });
    });
    connect(Button1_, &QPushButton::clicked, this,
            [this] { act([this] { controller_.Button1Click(); }); });
    // "Imprimir": the chart report in the print preview. The picture is written to
    // "imagraf.bmp" before every preparation of the pages and read back from there, so the
    // report shows the chart as last drawn; when it cannot be written the user has been told
    // and no report opens.
    connect(Print1_, &QAction::triggered, this, [this] {
        bool written = false;
        act([this, &written] { written = controller_.Print1Click(); });
        if (!written)
            return;
        ReportPreviewDialog preview(
            [this](QPagedPaintDevice& device) {
                bool ok = false;
                act([this, &ok] { ok = controller_.Print1Click(); });
                return ChartReport::print(device, ok ? QImage(ChartPicture::path()) : QImage());
            },
            ReportPreviewDialog::textsFor(session_.controls().UiLanguage), this);
        preview.exec();
    });
    connect(Button2_Fechar_, &QPushButton::clicked, this, [this] {
        act([this] { controller_.Button2_FecharClick(); });
        if (!controller_.isOpen())
            QDialog::done(QDialog::Accepted);
    });
}

void ChartWindow::render() {
    rendering_ = true;
    const ChartViewState& v = controller_.view();

    setWindowTitle(v.caption);
    Print1_->setText(v.Print1.caption);
    Print1_->setEnabled(v.Print1.enabled);
    Image1_->setPixmap(QPixmap::fromImage(controller_.picture()));

    Label1_->setText(v.Label1);
    Label2_->setText(v.Label2);
    Label3_->setText(v.Label3);
    Label4_->setText(v.Label4);

    QStringList shown;
    for (int i = 0; i < ListBox1_->count(); ++i)
        shown << ListBox1_->item(i)->text();
    if (shown != v.ListBox1) {
        ListBox1_->clear();
        ListBox1_->addItems(v.ListBox1);
    }
    if (v.ListBox1Index < 0) {
        ListBox1_->clearSelection();
        ListBox1_->setCurrentRow(-1);
    } else if (ListBox1_->currentRow() != v.ListBox1Index) {
        ListBox1_->setCurrentRow(v.ListBox1Index);
    }

    QStringList listed;
    for (int i = 0; i < ComboBox1_->count(); ++i)
        listed << ComboBox1_->itemText(i);
    if (listed != v.ComboBox1Items) {
        ComboBox1_->clear();
        ComboBox1_->addItems(v.ComboBox1Items);
    }
    ComboBox1_->setCurrentIndex(v.ComboBox1Index);
    ComboBox1_->setEditText(v.ComboBox1Text);
    ComboBox1_->setEnabled(v.ComboBox1Enabled);
    StartHint_->setText(v.StartHint);

    Edit1_->setText(v.Edit1.text);
    Edit1_->setEnabled(v.Edit1.enabled);
    Edit2_->setText(v.Edit2.text);
    Edit2_->setEnabled(v.Edit2.enabled);

    for (const auto& [button, state] :
         {std::pair{Button1_, &v.Button1}, std::pair{Button2_Sel_Med_, &v.Button2_Sel_Med},
          std::pair{Button2_Fechar_, &v.Button2_Fechar}}) {
        button->setText(state->caption);
        button->setEnabled(state->enabled);
    }
    rendering_ = false;
}

void ChartWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Coming back from being minimised is no new showing.
    if (event->spontaneous())
        return;
    act([this] { controller_.FormShow(); });
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void ChartWindow::reject() {}

void ChartWindow::closeEvent(QCloseEvent* event) {
    // Only "Fechar" closes the window.
    if (controller_.isOpen())
        event->ignore();
    else
        QDialog::closeEvent(event);
}
