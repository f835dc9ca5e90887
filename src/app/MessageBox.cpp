#include "MessageBox.h"

#include "Texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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

SaveChoice MessageBoxPrompt::askSaveDiscardCancel(const SaveQuestion& q) {
    QMessageBox box(QMessageBox::Question, q.title, q.text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.button(QMessageBox::Save)->setText(q.save);
    box.button(QMessageBox::Discard)->setText(q.discard);
    box.button(QMessageBox::Cancel)->setText(q.cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}
