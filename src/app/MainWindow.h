#pragma once

#include <QMainWindow>

class MainSession;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
struct MainViewState;

// The main window (TForm1): a view of the session. It shows the session's view state and
// forwards clicks and typing to it; it keeps no state of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1070;
    static constexpr int kClientHeight = 551;

    explicit MainWindow(MainSession& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Copies the session's view state into the widgets.
    void render();

signals:
    // The window was closed (unsaved records saved or discarded); the program ends with it.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildGrid(QWidget* parent);
    void buildReportPanel(QWidget* parent);
    void buildInstrumentPanel(QWidget* parent);
    void buildRemotePanel(QWidget* parent);
    void buildStatusBar();
    void connectActions();
    void fixClientSize();

    MainSession& session_;
    bool shownOnce_ = false;

    QMenu* Arquivo1_ = nullptr;
    QAction *Abrir1_ = nullptr, *Salvarcomo1_ = nullptr, *Imprimir1_ = nullptr, *mnSair_ = nullptr,
            *Grafico1_ = nullptr, *mnSobre_ = nullptr;

    QAction* ExportarCsv1_ = nullptr;  // "Exportar CSV..."
    QAction* Analise1_ = nullptr;      // "Análise": the interactive chart
    QAction* Estatisticas1_ = nullptr; // "Estatísticas"
    QTableView* StringGrid1_ = nullptr;

    QLabel *Label1_ = nullptr, *Label2_ = nullptr, *Label3_ = nullptr, *Label4_ = nullptr,
           *Label5_ = nullptr, *Label6_ = nullptr, *Label7_ = nullptr, *Label8_ = nullptr,
           *Label9_ = nullptr, *Label10_ = nullptr, *Label11_ = nullptr, *Label12_ = nullptr,
           *Label13_ = nullptr, *Label14_ = nullptr, *Label15_ = nullptr, *Label16_ = nullptr,
           *Label17_ = nullptr, *Label18_ = nullptr, *Label19_ = nullptr;
    QLineEdit *Edit1_ = nullptr, *Edit3_ = nullptr, *Edit4_ = nullptr, *Edit5_ = nullptr,
              *Edit6_ = nullptr, *Edit7_ = nullptr;
    QGroupBox *GroupBox1_ = nullptr, *GroupBox2_ = nullptr, *GroupBox3_ = nullptr,
              *Registros_ = nullptr;
    QFrame *Panel5_ = nullptr, *Panel6_ = nullptr, *Panel7_ = nullptr;
    QPushButton *Button2_ = nullptr, *Button3_ = nullptr, *Button4_ = nullptr, *Button5_ = nullptr,
                *Button6_ = nullptr, *Button7_ = nullptr;
    QCheckBox* CheckBox1_ = nullptr;
    QLabel* StatusBar1_[3] = {};
    QProgressBar* DownloadProgress_ = nullptr;
};
