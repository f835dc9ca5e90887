#include "ConfirmationDialog.h"

#include "DeviceListDialog.h"
#include "DeviceListEditor.h"
#include "app/Texts.h"

#include <QLabel>
#include <QPushButton>

namespace {

QString text(Txt id) {
    // Portuguese only, whatever the interface language.
    return Texts::text(id, 'p');
}

} // namespace

ConfirmationDialog::ConfirmationDialog(DeviceListEditor& editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(text(Txt::ConfirmationTitle));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFont(DeviceListDialog::designFont());
    setFixedSize(280, 100);

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Label1_ = new QLabel(text(Txt::ConfirmationQuestion), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(10, 16, 260, 20);
    Label1_->setAlignment(Qt::AlignCenter);

    Button1_Sim_ = new QPushButton(text(Txt::ConfirmationSim), this);
    Button1_Sim_->setObjectName(QStringLiteral("Button1_Sim"));
    Button1_Sim_->setGeometry(50, 56, 75, 25);
    Button2_Nao_ = new QPushButton(text(Txt::ConfirmationNao), this);
    Button2_Nao_->setObjectName(QStringLiteral("Button2_Nao"));
    Button2_Nao_->setGeometry(155, 56, 75, 25);
    // Enter must not drop the changes by accident.
    Button1_Sim_->setAutoDefault(false);
    Button2_Nao_->setDefault(true);

    connect(Button1_Sim_, &QPushButton::clicked, this, [this] {
        editor_.ConfirmationSim();
        accept();
    });
    connect(Button2_Nao_, &QPushButton::clicked, this, &QDialog::reject);
}
