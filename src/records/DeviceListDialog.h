#pragma once

#include "DeviceListEditor.h"

#include <QDialog>

class ConfirmationDialog;
class MainSession;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Lista de dispositivos" (TForm6_Adicionar): shows a DeviceListEditor and forwards the
// clicks to it. Showing the window reads the list anew; it closes only through "Fechar"
// (Escape and the window manager's close count as "Fechar").
class DeviceListDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceListDialog(MainSession& session, QWidget* parent = nullptr);
    ~DeviceListDialog() override;

    DeviceListEditor& editor() { return editor_; }

    // Copies the editor's state into the widgets.
    void render();

    // Tahoma 8 pt bold, or a condensed face of nearly the same widths where it is missing.
    static QFont designFont();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void fechar();

    DeviceListEditor editor_;
    ConfirmationDialog* TForm7_ = nullptr;
    bool rendering_ = false;

    QLabel *Label1_ = nullptr, *Label2_ = nullptr, *Label3_ = nullptr, *Label4_ = nullptr;
    QListWidget* ListBox1_ = nullptr;
    QLineEdit *Edit1_ = nullptr, *Edit2_ = nullptr, *Edit3_ = nullptr;
    QPushButton *Button3_Inserir_ = nullptr, *Button4_Apagar_ = nullptr, *Button6_Editar_ = nullptr,
                *Button5_Gravar_ = nullptr, *Button2_Fechar_ = nullptr;
};
