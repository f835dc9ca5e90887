#include "ConfigurationDialog.h"

#include "app/DesignWidgets.h"
#include "app/MainSession.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr int kBorder = 4;
constexpr int kPanelWidth = 264;
constexpr int kPanelHeight = 266;
const QColor kBlue(0x00, 0x00, 0xFF);

QLabel* label(QWidget* parent, const char* name, QRect geometry) {
    auto* l = DesignWidgets::make<QLabel>(parent, name, geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

void renderField(QLineEdit* e, const QString& text, bool readOnly) {
    // Only a different text is written back, so the cursor of a field being typed in stays.
    if (e->displayText() != text)
        e->setText(text);
    DesignWidgets::setReadOnly(e, readOnly);
}

} // namespace

ConfigurationDialog::ConfigurationDialog(MainSession& session, QWidget* parent)
    : QDialog(parent), session_(session), editor_(session) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFont(DesignWidgets::font());
    setFixedSize(kPanelWidth + 2 * kBorder, kPanelHeight + 2 * kBorder);
    // The blue of the window shows as a border around the one panel.
    setAutoFillBackground(true);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, kBlue);
    setPalette(blue);
    build();
    editor_.setChangedCallback([this] { render(); });
    centre();
    render();
}

ConfigurationDialog::~ConfigurationDialog() = default;

void ConfigurationDialog::build() {
    Panel1_ =
        DesignWidgets::make<QFrame>(this, "Panel1", {kBorder, kBorder, kPanelWidth, kPanelHeight});
    Panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1_->setAutoFillBackground(true);
    QPalette normal = Panel1_->palette();
    normal.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Window));
    Panel1_->setPalette(normal);
    QWidget* p = Panel1_;

    Label3_ = label(p, "Label3", {16, 12, 60, 17});
    Label6_ = label(p, "Label6", {80, 12, 100, 17});
    Label4_ = label(p, "Label4", {16, 32, 60, 17});
    Label7_ = label(p, "Label7", {80, 32, 100, 17});
    for (QLabel* l : {Label6_, Label7_}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }

    const int fieldX = 156, fieldW = 64;
    Label2_ = label(p, "Label2", {fieldX, 56, fieldW + 20, 14});
    Label1_ = label(p, "Label1", {16, 72, fieldX - 20, 21});
    MaskEdit1_ = DesignWidgets::make<QLineEdit>(p, "MaskEdit1", {fieldX, 72, fieldW, 21});
    // Two digits, colon, two digits, colon, two digits; a blank marks a digit not typed.
    MaskEdit1_->setInputMask(QStringLiteral("99:99:99; "));
    MaskEdit1_->setMaxLength(ConfigurationEditor::kIntervalLength);
    Label1_->setBuddy(MaskEdit1_);

    Label5_ = label(p, "Label5", {16, 102, fieldX - 20, 21});
    Edit2_ = DesignWidgets::make<QLineEdit>(p, "Edit2", {fieldX, 102, fieldW, 21});
    Label5_->setBuddy(Edit2_);
    Label8_ = label(p, "Label8", {16, 130, fieldX - 20, 21});
    Edit1_ = DesignWidgets::make<QLineEdit>(p, "Edit1", {fieldX, 130, fieldW, 21});
    Label8_->setBuddy(Edit1_);

    GroupBox1_ = DesignWidgets::make<QGroupBox>(p, "GroupBox1", {16, 160, 232, 52});
    RadioButton2_ = DesignWidgets::make<QRadioButton>(GroupBox1_, "RadioButton2", {12, 20, 96, 24});
    RadioButton3_ =
        DesignWidgets::make<QRadioButton>(GroupBox1_, "RadioButton3", {112, 20, 112, 24});

    Button1_ = DesignWidgets::make<QPushButton>(p, "Button1", {16, 226, 100, 28});
    Button2_ = DesignWidgets::make<QPushButton>(p, "Button2", {148, 226, 100, 28});
    // Enter in a field must not send a configuration by itself.
    for (QPushButton* b : {Button1_, Button2_})
        b->setAutoDefault(false);

    connect(MaskEdit1_, &QLineEdit::textEdited, this, [this] {
        editor_.MaskEdit1Change(MaskEdit1_->displayText());
        render();
    });
    connect(Edit2_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.Edit2Change(text);
        render();
    });
    connect(Edit1_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.Edit1Change(text);
        render();
    });
    connect(RadioButton2_, &QRadioButton::clicked, this, [this] {
        editor_.RadioButton2Click();
        render();
    });
    connect(RadioButton3_, &QRadioButton::clicked, this, [this] {
        editor_.RadioButton3Click();
        render();
    });
    connect(Button1_, &QPushButton::clicked, this, [this] {
        session_.guarded([this] { editor_.Button1Click(); });
        render();
    });
    connect(Button2_, &QPushButton::clicked, this, &ConfigurationDialog::fechar);
}

void ConfigurationDialog::centre() {
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void ConfigurationDialog::render() {
    const ConfigurationEditor::Captions& c = editor_.captions();
    setWindowTitle(c.caption);
    Label1_->setText(c.Label1);
    Label2_->setText(c.Label2);
    Label3_->setText(c.Label3);
    Label4_->setText(c.Label4);
    Label5_->setText(c.Label5);
    Label8_->setText(c.Label8);
    GroupBox1_->setTitle(c.GroupBox1);
    RadioButton2_->setText(c.RadioButton2);
    RadioButton3_->setText(c.RadioButton3);
    Button1_->setText(c.Button1);
    Button2_->setText(c.Button2);

    Label6_->setText(editor_.Label6());
    Label7_->setText(editor_.Label7());
    renderField(MaskEdit1_, editor_.MaskEdit1(), false);
    renderField(Edit2_, editor_.Edit2(), editor_.Edit2ReadOnly());
    renderField(Edit1_, editor_.Edit1(), editor_.Edit1ReadOnly());
    RadioButton2_->setChecked(editor_.RadioButton2Checked());
    RadioButton3_->setChecked(editor_.RadioButton3Checked());
}

void ConfigurationDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Coming back from being minimised is no new showing.
    if (event->spontaneous())
        return;
    session_.guarded([this] { editor_.FormShow(); });
    render();
}

void ConfigurationDialog::reject() {
    fechar();
}

void ConfigurationDialog::fechar() {
    editor_.Button2Click();
    render();
    QDialog::done(QDialog::Accepted);
}
