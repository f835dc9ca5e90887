#include "MessageBox.h"

#include "Texts.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxPrompt::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Texts::design(Txt::ApplicationTitle), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

bool MessageBoxPrompt::askYesNo(const QString& title, const QString& text, bool defaultNo) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
