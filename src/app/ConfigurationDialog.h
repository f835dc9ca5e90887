#pragma once

#include "ConfigurationEditor.h"

#include <QDialog>

class MainSession;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Configuração" (TForm3): shows a ConfigurationEditor and forwards the input to it. Made
// once and kept, so its fields and mode stay between openings; it closes only through
// "Fechar" (Escape counts as "Fechar"; the title bar has no buttons).
class ConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfigurationDialog(MainSession& session, QWidget* parent = nullptr);
    ~ConfigurationDialog() override;

    ConfigurationEditor& editor() { return editor_; }

    // Copies the editor's state into the widgets.
    void render();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void centre();
    void fechar();

    MainSession& session_;
    ConfigurationEditor editor_;

    QFrame* Panel1_ = nullptr;
    QLabel *Label1_ = nullptr, *Label2_ = nullptr, *Label3_ = nullptr, *Label4_ = nullptr,
           *Label5_ = nullptr, *Label6_ = nullptr, *Label7_ = nullptr, *Label8_ = nullptr;
    QLineEdit *MaskEdit1_ = nullptr, *Edit2_ = nullptr, *Edit1_ = nullptr;
    QGroupBox* GroupBox1_ = nullptr;
    QRadioButton *RadioButton2_ = nullptr, *RadioButton3_ = nullptr;
    QPushButton *Button1_ = nullptr, *Button2_ = nullptr;
};
