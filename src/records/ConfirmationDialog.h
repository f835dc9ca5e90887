#pragma once

#include <QDialog>

class DeviceListEditor;
class QLabel;
class QPushButton;

// "ATENÇÃO!" (TForm7): asked when the device list is closed with unsaved changes. "Sim"
// drops the changes and lets the list close; "Não" (and Escape) only closes this question.
class ConfirmationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmationDialog(DeviceListEditor& editor, QWidget* parent = nullptr);

private:
    DeviceListEditor& editor_;
    QLabel* Label1_ = nullptr;
    QPushButton* Button1_Sim_ = nullptr;
    QPushButton* Button2_Nao_ = nullptr;
};
