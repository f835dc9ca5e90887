#pragma once

#include "ChartController.h"

#include <QDialog>

#include <functional>

class MainSession;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QAction;
class QPushButton;

// The chart window (TForm2): shows a ChartController and forwards the clicks to it. It has
// no title-bar buttons and is left only through "Fechar"; each showing starts over.
class ChartWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 806;
    static constexpr int kClientHeight = 479;

    explicit ChartWindow(MainSession& session, QWidget* parent = nullptr);
    ~ChartWindow() override;

    ChartController& controller() { return controller_; }

    // Copies the controller's state and picture into the widgets.
    void render();

public slots:
    // Escape does not close the window.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void connectActions();
    // Runs a controller action as the session runs every window action, then shows the result.
    void act(const std::function<void()>& action);

    MainSession& session_;
    ChartController controller_;
    bool rendering_ = false;

    QWidget* client_ = nullptr;
    QMenuBar* menu_ = nullptr;
    QAction* Print1_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel *Label1_ = nullptr, *Label2_ = nullptr, *Label3_ = nullptr, *Label4_ = nullptr;
    QLabel* StartHint_ = nullptr;
    QComboBox* ComboBox1_ = nullptr;
    QLineEdit *Edit1_ = nullptr, *Edit2_ = nullptr;
    QListWidget* ListBox1_ = nullptr;
    QPushButton *Button1_ = nullptr, *Button2_Sel_Med_ = nullptr, *Button2_Fechar_ = nullptr;
};
