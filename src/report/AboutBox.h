#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "Sobre": the version line in a bevelled panel and an OK button, texts by language each
// time it is shown.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Sets the caption, version line and button for the interface language.
    void applyLanguage(char language);

private:
    QLabel* version_;
    QPushButton* ok_;
};
