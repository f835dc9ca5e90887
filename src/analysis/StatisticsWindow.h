#pragma once

#include <QDialog>

class MainSession;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Estatísticas": the statistics of the record set in one table, a column per measurement
// and one for the whole set, with the limits editable at its top. It follows the session:
// a new record set or new limits show at once.
class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsWindow(MainSession& session, QWidget* parent = nullptr);

    // The table as tab-separated text, as "Copiar" puts it on the clipboard.
    QString tabSeparated() const;

public slots:
    void render();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyLimits();
    void showLimits();

    MainSession& session_;
    QLabel *lowerLabel_ = nullptr, *upperLabel_ = nullptr, *unit_ = nullptr, *damage_ = nullptr;
    QLineEdit *lower_ = nullptr, *upper_ = nullptr;
    QPushButton *apply_ = nullptr, *copy_ = nullptr, *close_ = nullptr;
    QTableWidget* table_ = nullptr;
    quint64 shownRevision_ = ~quint64(0);
};
