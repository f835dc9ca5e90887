#include "AboutBox.h"

#include "app/Texts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox1"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    version_ = new QLabel(panel);
    version_->setObjectName(QStringLiteral("Version"));
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(16, 24, 16, 24);
    inner->addWidget(version_);

    ok_ = new QPushButton(this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);
    setFixedSize(300, 160);
}

void AboutBox::applyLanguage(char language) {
    setWindowTitle(Texts::text(Txt::AboutCaption, language));
    version_->setText(Texts::text(Txt::AboutVersion, language));
    ok_->setText(Texts::text(Txt::AboutOk, language));
}
