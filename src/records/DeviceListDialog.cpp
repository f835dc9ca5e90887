#include "DeviceListDialog.h"

#include "ConfirmationDialog.h"
#include "app/DesignWidgets.h"
#include "app/Texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace {

QString text(Txt id) {
    // Portuguese only, whatever the interface language.
    return Texts::text(id, 'p');
}

QLabel* label(QWidget* parent, const char* name, Txt caption, QRect geometry) {
    auto* l = DesignWidgets::make<QLabel>(parent, name, geometry);
    l->setText(text(caption));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, Txt caption, QRect geometry) {
    auto* b = DesignWidgets::make<QPushButton>(parent, name, geometry);
    b->setText(text(caption));
    // Enter in the code field must not press whichever button happens to be the default.
    b->setAutoDefault(false);
    return b;
}

} // namespace

QFont DeviceListDialog::designFont() {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    f.setPointSize(8);
    f.setBold(true);
    return f;
}

DeviceListDialog::DeviceListDialog(MainSession& session, QWidget* parent)
    : QDialog(parent), editor_(session) {
    setObjectName(QStringLiteral("TForm6_Adicionar"));
    setWindowTitle(text(Txt::DeviceListTitle));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFont(designFont());
    setFixedSize(338, 250);
    build();
    TForm7_ = new ConfirmationDialog(editor_, this);
    render();
}

DeviceListDialog::~DeviceListDialog() = default;

void DeviceListDialog::build() {
    Label1_ = label(this, "Label1", Txt::DeviceListLabel1, {12, 8, 160, 18});
    ListBox1_ = DesignWidgets::make<QListWidget>(this, "ListBox1", {12, 28, 156, 210});
    ListBox1_->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1_->setBuddy(ListBox1_);

    Label2_ = label(this, "Label2", Txt::DeviceListLabel2, {176, 8, 150, 18});
    Edit1_ = DesignWidgets::make<QLineEdit>(this, "Edit1", {176, 28, 150, 21});
    Label2_->setBuddy(Edit1_);
    Button3_Inserir_ = button(this, "Button3_Inserir", Txt::DeviceListInserir, {176, 56, 72, 25});
    Button4_Apagar_ = button(this, "Button4_Apagar", Txt::DeviceListApagar, {254, 56, 72, 25});

    Label3_ = label(this, "Label3", Txt::DeviceListLabel3, {176, 96, 86, 21});
    Edit2_ = DesignWidgets::make<QLineEdit>(this, "Edit2", {266, 96, 60, 21});
    Label4_ = label(this, "Label4", Txt::DeviceListLabel4, {176, 124, 86, 21});
    Edit3_ = DesignWidgets::make<QLineEdit>(this, "Edit3", {266, 124, 60, 21});
    for (QLineEdit* e : {Edit2_, Edit3_}) {
        DesignWidgets::setReadOnly(e, true);
        e->setAlignment(Qt::AlignCenter);
    }
    Label3_->setBuddy(Edit2_);
    Label4_->setBuddy(Edit3_);

    Button6_Editar_ = button(this, "Button6_Editar", Txt::DeviceListEditar, {176, 153, 150, 25});
    Button5_Gravar_ = button(this, "Button5_Gravar", Txt::DeviceListGravar, {176, 183, 150, 25});
    Button2_Fechar_ = button(this, "Button2_Fechar", Txt::DeviceListFechar, {176, 213, 150, 25});

    auto run = [this](auto action) {
        return [this, action] {
            action();
            render();
        };
    };
    // Mouse clicks and moves with the keys both choose an entry.
    connect(ListBox1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        editor_.ListBox1Click(ListBox1_->row(item));
        render();
    });
    connect(ListBox1_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (rendering_)
            return;
        editor_.ListBox1Click(row);
        render();
    });
    connect(Edit1_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        editor_.Edit1Change(typed);
        render();
    });
    connect(Button6_Editar_, &QPushButton::clicked, this,
            run([this] { editor_.Button6_EditarClick(); }));
    connect(Button3_Inserir_, &QPushButton::clicked, this,
            run([this] { editor_.Button3_InserirClick(Edit1_->text()); }));
    connect(Edit1_, &QLineEdit::returnPressed, Button3_Inserir_, &QPushButton::click);
    connect(Button4_Apagar_, &QPushButton::clicked, this,
            run([this] { editor_.Button4_ApagarClick(); }));
    connect(Button5_Gravar_, &QPushButton::clicked, this,
            run([this] { editor_.Button5_GravarClick(); }));
    connect(Button2_Fechar_, &QPushButton::clicked, this, &DeviceListDialog::fechar);
}

void DeviceListDialog::render() {
    rendering_ = true;

    QStringList shown;
    for (int i = 0; i < ListBox1_->count(); ++i)
        shown << ListBox1_->item(i)->text();
    if (shown != editor_.entries()) {
        ListBox1_->clear();
        ListBox1_->addItems(editor_.entries());
    }
    if (ListBox1_->currentRow() != editor_.selected())
        ListBox1_->setCurrentRow(editor_.selected());
    if (editor_.selected() < 0)
        ListBox1_->clearSelection();
    else
        ListBox1_->scrollToItem(ListBox1_->item(editor_.selected()));

    // Only a different text is written back, so the cursor of a code being typed stays.
    if (Edit1_->text() != editor_.Edit1()) {
        const int cursor = Edit1_->cursorPosition();
        Edit1_->setText(editor_.Edit1());
        Edit1_->setCursorPosition(cursor);
    }
    Edit1_->setEnabled(editor_.Edit1Enabled());
    Edit2_->setText(editor_.Edit2());
    Edit3_->setText(editor_.Edit3());

    Button6_Editar_->setEnabled(editor_.Button6_EditarEnabled());
    Button3_Inserir_->setEnabled(editor_.Button3_InserirEnabled());
    Button4_Apagar_->setEnabled(editor_.Button4_ApagarEnabled());
    Button5_Gravar_->setEnabled(editor_.Button5_GravarEnabled());
    Button2_Fechar_->setEnabled(editor_.Button2_FecharEnabled());

    rendering_ = false;
}

void DeviceListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Coming back from being minimised is no new showing.
    if (event->spontaneous())
        return;
    editor_.FormShow();
    render();
}

void DeviceListDialog::reject() {
    fechar();
}

void DeviceListDialog::fechar() {
    if (editor_.Button2_FecharClick())
        TForm7_->exec();
    render();
    if (!editor_.isOpen())
        QDialog::done(QDialog::Accepted);
}
