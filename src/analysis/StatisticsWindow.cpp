#include "StatisticsWindow.h"

#include "StatisticsFormat.h"
#include "app/MainSession.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString limitText(const std::optional<double>& v) {
    return v ? QString::number(*v, 'g', QLocale::FloatingPointShortest) : QString();
}

// The row caption of a statistics key in the interface language.
QString rowLabel(const MainSession& s, const QString& key) {
    static const std::pair<const char16_t*, Txt> kPlain[] = {
        {u"records", Txt::StatsRecords},
        {u"first", Txt::StatsFirst},
        {u"last", Txt::StatsLast},
        {u"span_s", Txt::StatsSpan},
        {u"interval_s", Txt::StatsInterval},
        {u"min", Txt::StatsMin},
        {u"min_record", Txt::StatsMinRecord},
        {u"min_time", Txt::StatsMinTime},
        {u"max", Txt::StatsMax},
        {u"max_record", Txt::StatsMaxRecord},
        {u"max_time", Txt::StatsMaxTime},
        {u"mean", Txt::StatsMean},
        {u"sd", Txt::StatsSd},
        {u"mkt", Txt::StatsMkt},
    };
    for (const auto& [name, id] : kPlain)
        if (key == QStringView(name))
            return s.text(id);
    static const std::pair<const char16_t*, Txt> kSide[] = {
        {u"records", Txt::StatsOutsideRecords},
        {u"excursions", Txt::StatsExcursions},
        {u"duration_s", Txt::StatsDuration},
        {u"first_time", Txt::StatsFirstTime},
    };
    const bool below = key.startsWith(u"below_");
    const QString rest = key.mid(6);
    for (const auto& [name, id] : kSide)
        if (rest == QStringView(name))
            return s.text(below ? Txt::StatsBelow : Txt::StatsAbove).arg(s.text(id));
    return key;
}

} // namespace

StatisticsWindow::StatisticsWindow(MainSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    auto* layout = new QVBoxLayout(this);
    auto* limits = new QHBoxLayout;
    lowerLabel_ = new QLabel(this);
    upperLabel_ = new QLabel(this);
    lower_ = new QLineEdit(this);
    upper_ = new QLineEdit(this);
    lower_->setObjectName(QStringLiteral("lower"));
    upper_->setObjectName(QStringLiteral("upper"));
    for (QLineEdit* e : {lower_, upper_})
        e->setMaximumWidth(100);
    apply_ = new QPushButton(this);
    apply_->setObjectName(QStringLiteral("apply"));
    copy_ = new QPushButton(this);
    copy_->setObjectName(QStringLiteral("copy"));
    close_ = new QPushButton(this);
    unit_ = new QLabel(this);
    limits->addWidget(lowerLabel_);
    limits->addWidget(lower_);
    limits->addSpacing(12);
    limits->addWidget(upperLabel_);
    limits->addWidget(upper_);
    limits->addWidget(unit_);
    limits->addWidget(apply_);
    limits->addStretch();
    limits->addWidget(copy_);
    limits->addWidget(close_);
    layout->addLayout(limits);
    damage_ = new QLabel(this);
    damage_->setObjectName(QStringLiteral("damage"));
    damage_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0)"));
    damage_->setWordWrap(true);
    layout->addWidget(damage_);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_);
    resize(760, 560);

    connect(apply_, &QPushButton::clicked, this, &StatisticsWindow::applyLimits);
    connect(lower_, &QLineEdit::returnPressed, this, &StatisticsWindow::applyLimits);
    connect(upper_, &QLineEdit::returnPressed, this, &StatisticsWindow::applyLimits);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(tabSeparated()); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(&session_, &MainSession::viewChanged, this, [this] {
        if (isVisible())
            render();
    });
}

void StatisticsWindow::showEvent(QShowEvent* event) {
    showLimits();
    render();
    QDialog::showEvent(event);
}

void StatisticsWindow::showLimits() {
    const Limits l = session_.limits();
    lower_->setText(limitText(l.lower));
    upper_->setText(limitText(l.upper));
}

void StatisticsWindow::applyLimits() {
    session_.guarded([this] {
        if (session_.setLimits(lower_->text(), upper_->text()))
            showLimits();
    });
}

void StatisticsWindow::render() {
    setWindowTitle(session_.text(Txt::Estatisticas1));
    lowerLabel_->setText(session_.text(Txt::StatsLower));
    upperLabel_->setText(session_.text(Txt::StatsUpper));
    apply_->setText(session_.text(Txt::StatsApply));
    copy_->setText(session_.text(Txt::StatsCopy));
    close_->setText(session_.text(Txt::StatsClose));

    // Another record set may be of another quantity, with limits of its own.
    if (session_.records().revision() != shownRevision_) {
        shownRevision_ = session_.records().revision();
        showLimits();
    }

    const Statistics st = session_.statistics();
    unit_->setText(st.unit);
    damage_->setText(StatisticsFormat::unreadable(st, session_.records(),
                                                  session_.text(Txt::StatsRecordDamaged)));
    damage_->setVisible(!damage_->text().isEmpty());

    const QList<StatisticsFormat::Row> rows = StatisticsFormat::rows(st);
    QStringList header;
    for (const Statistics::Summary& s : st.measurements)
        header << session_.text(Txt::StatsMeasurement).arg(s.measurement);
    header << session_.text(Txt::StatsAll);
    table_->clear();
    table_->setColumnCount(int(header.size()));
    table_->setRowCount(int(rows.size()));
    table_->setHorizontalHeaderLabels(header);
    QStringList labels;
    for (int r = 0; r < rows.size(); ++r) {
        labels << rowLabel(session_, rows[r].key);
        for (int c = 0; c < rows[r].values.size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r].values[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->setVerticalHeaderLabels(labels);
}

QString StatisticsWindow::tabSeparated() const {
    QStringList header = {QString()};
    QStringList labels;
    QList<StatisticsFormat::Row> rows;
    for (int c = 0; c < table_->columnCount(); ++c)
        header << table_->horizontalHeaderItem(c)->text();
    for (int r = 0; r < table_->rowCount(); ++r) {
        labels << table_->verticalHeaderItem(r)->text();
        StatisticsFormat::Row row;
        for (int c = 0; c < table_->columnCount(); ++c)
            row.values << (table_->item(r, c) ? table_->item(r, c)->text() : QString());
        rows << row;
    }
    return StatisticsFormat::tabSeparated(header, labels, rows);
}
