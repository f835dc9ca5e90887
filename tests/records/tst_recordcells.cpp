// Cell texts of the record table: values, dates, times, numbers, and reading values back.
#include "records/RecordCells.h"

#include <QTest>

#include <cmath>

class TestRecordCells : public QObject {
    Q_OBJECT
private slots:
    void valueText_data();
    void valueText();
    void everyValueCellIsTenWideAndReadsBack();
    void dateText_data();
    void dateText();
    void timeText_data();
    void timeText();
    void numberText_data();
    void numberText();
    void separatorRow();
    void parseNumber_data();
    void parseNumber();
};

void TestRecordCells::valueText_data() {
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("decimalsCode");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("cell");
    const QChar dot = u'.';
    QTest::newRow("1: zero") << 0 << 1 << dot << "   0000.0 ";
    QTest::newRow("1: 1234") << 1234 << 1 << dot << "   0123.4 ";
    QTest::newRow("1: 0x7FFF") << 0x7FFF << 1 << dot << "   3276.7 ";
    QTest::newRow("1: 0x8000 reads as -32768") << 0x8000 << 1 << dot << "  -3276.8 ";
    QTest::newRow("1: 0x8001") << 0x8001 << 1 << dot << "  -3276.7 ";
    QTest::newRow("1: 0xFF85") << 0xFF85 << 1 << dot << "  -0012.3 ";
    QTest::newRow("1: 0xFFFF") << 0xFFFF << 1 << dot << "  -0000.1 ";
    QTest::newRow("0: 7") << 7 << 0 << dot << "   000007 ";
    QTest::newRow("4: 7") << 7 << 4 << dot << "   000007 ";
    QTest::newRow("255: 7") << 7 << 255 << dot << "   000007 ";
    QTest::newRow("-1: 7") << 7 << -1 << dot << "   000007 ";
    QTest::newRow("0: 0x7FFF") << 0x7FFF << 0 << dot << "   032767 ";
    QTest::newRow("0: 0x8000") << 0x8000 << 0 << dot << "  -032768 ";
    QTest::newRow("0: 0xFFFF") << 0xFFFF << 0 << dot << "  -000001 ";
    QTest::newRow("2: 1234") << 1234 << 2 << dot << "   012.34 ";
    QTest::newRow("2: 0x7FFF") << 0x7FFF << 2 << dot << "   327.67 ";
    QTest::newRow("2: 0xFFFF") << 0xFFFF << 2 << dot << "  -000.01 ";
    QTest::newRow("3: 1234") << 1234 << 3 << dot << "   01.234 ";
    QTest::newRow("3: 5") << 5 << 3 << dot << "   00.005 ";
    QTest::newRow("3: 0x8000") << 0x8000 << 3 << dot << "  -32.768 ";
    QTest::newRow("1: comma") << 1234 << 1 << QChar(u',') << "   0123,4 ";
    QTest::newRow("3: comma, negative") << 0xFB2E << 3 << QChar(u',') << "  -01,234 ";
    QTest::newRow("0: separator unused") << 1234 << 0 << QChar(u',') << "   001234 ";
}

void TestRecordCells::valueText() {
    QFETCH(int, raw);
    QFETCH(int, decimalsCode);
    QFETCH(QChar, separator);
    QFETCH(QString, cell);
    QCOMPARE(RecordCells::valueText(quint16(raw), decimalsCode, separator), cell);
}

void TestRecordCells::everyValueCellIsTenWideAndReadsBack() {
    for (int code = 0; code <= 4; ++code) {
        const int places = RecordCells::decimalPlaces(code);
        const double scale = std::pow(10.0, places);
        for (int raw = 0; raw <= 0xFFFF; ++raw) {
            const QString cell = RecordCells::valueText(quint16(raw), code, u',');
            const int value = raw < 0x8000 ? raw : raw - 0x10000;
            const auto back = RecordCells::parseNumber(cell, u',');
            const bool good =
                cell.size() == 10 &&
                cell.startsWith(value < 0 ? QStringLiteral("  -") : QStringLiteral("   ")) &&
                cell.at(3).isDigit() && cell.endsWith(u' ') && back &&
                std::lround(back->value() * scale) == value && back->decimals == places;
            if (!good)
                QFAIL(qPrintable(
                    QStringLiteral("raw %1 code %2: \"%3\"").arg(raw).arg(code).arg(cell)));
        }
    }
}

void TestRecordCells::dateText_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<char>("language");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("cell");
    QTest::newRow("p") << 5 << 12 << 'p' << QChar(u'/') << "  05/12   ";
    QTest::newRow("e") << 5 << 12 << 'e' << QChar(u'/') << "  05/12   ";
    QTest::newRow("i, month first") << 5 << 12 << 'i' << QChar(u'/') << "  12/05   ";
    QTest::newRow("p, regional dot") << 31 << 1 << 'p' << QChar(u'.') << "  31.01   ";
    QTest::newRow("i, regional dash") << 31 << 1 << 'i' << QChar(u'-') << "  01-31   ";
}

void TestRecordCells::dateText() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(char, language);
    QFETCH(QChar, separator);
    QFETCH(QString, cell);
    QCOMPARE(RecordCells::dateText(day, month, language, separator), cell);
}

void TestRecordCells::timeText_data() {
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("s");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("cell");
    QTest::newRow("midnight") << 0 << 0 << 0 << QChar(u':') << " 00:00:00 ";
    QTest::newRow("last second") << 23 << 59 << 59 << QChar(u':') << " 23:59:59 ";
    QTest::newRow("regional dot") << 8 << 3 << 9 << QChar(u'.') << " 08.03.09 ";
}

void TestRecordCells::timeText() {
    QFETCH(int, h);
    QFETCH(int, m);
    QFETCH(int, s);
    QFETCH(QChar, separator);
    QFETCH(QString, cell);
    QCOMPARE(RecordCells::timeText(h, m, s, separator), cell);
}

void TestRecordCells::numberText_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("cell");
    QTest::newRow("1") << 1 << "  0001    ";
    QTest::newRow("42") << 42 << "  0042    ";
    QTest::newRow("3713, the most a reply holds") << 3713 << "  3713    ";
    QTest::newRow("9999") << 9999 << "  9999    ";
    QTest::newRow("beyond four digits") << 12345 << "  12345    ";
}

void TestRecordCells::numberText() {
    QFETCH(int, n);
    QFETCH(QString, cell);
    QCOMPARE(RecordCells::numberText(n), cell);
}

void TestRecordCells::separatorRow() {
    const RecordSet::Row expected{"   M      ", "  0002    ", "          ", "          "};
    QCOMPARE(RecordCells::separatorRow(2), expected);
}

void TestRecordCells::parseNumber_data() {
    // plain: the number as CSV writes it; empty when the cell is no number.
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QChar>("regional");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<double>("value");
    const QChar dot = u'.';
    QTest::newRow("dot") << "   0123.4 " << dot << "123.4" << 123.4;
    QTest::newRow("comma with dot settings") << "  -0012,3 " << dot << "-12.3" << -12.3;
    QTest::newRow("dot with comma settings") << "   01.234 " << QChar(u',') << "1.234" << 1.234;
    QTest::newRow("decimals kept") << "   0000.0 " << dot << "0.0" << 0.0;
    QTest::newRow("trailing zeros kept") << "   012.50 " << dot << "12.50" << 12.5;
    QTest::newRow("small negative") << "  -0000.1 " << dot << "-0.1" << -0.1;
    QTest::newRow("whole") << "   000007 " << dot << "7" << 7.0;
    QTest::newRow("plus sign") << "+5" << dot << "5" << 5.0;
    QTest::newRow("no digit after the point") << "  12.     " << dot << "12" << 12.0;
    QTest::newRow("no integer digits") << ".5" << dot << "0.5" << 0.5;
    QTest::newRow("most negative") << "  -032768 " << dot << "-32768" << -32768.0;
    QTest::newRow("eighteen digits")
        << "123456789012345678" << dot << "123456789012345678" << 123456789012345678.0;
    QTest::newRow("other regional separator")
        << "   12\u066B5 " << QChar(u'\u066B') << "12.5" << 12.5;
    QTest::newRow("empty") << "" << dot << "" << 0.0;
    QTest::newRow("blanks") << "          " << dot << "" << 0.0;
    QTest::newRow("separator row mark") << "   M      " << dot << "" << 0.0;
    QTest::newRow("two points") << "  12.3.4  " << dot << "" << 0.0;
    QTest::newRow("exponent") << "  1e5     " << dot << "" << 0.0;
    QTest::newRow("blank inside") << "  - 12.3  " << dot << "" << 0.0;
    QTest::newRow("sign only") << "    -     " << dot << "" << 0.0;
    QTest::newRow("point only") << "    .     " << dot << "" << 0.0;
    QTest::newRow("nineteen digits") << "1234567890123456789" << dot << "" << 0.0;
}

void TestRecordCells::parseNumber() {
    QFETCH(QString, cell);
    QFETCH(QChar, regional);
    QFETCH(QString, plain);
    QFETCH(double, value);
    const auto parsed = RecordCells::parseNumber(cell, regional);
    QCOMPARE(parsed.has_value(), !plain.isEmpty());
    if (parsed) {
        QCOMPARE(parsed->plain(), plain);
        QCOMPARE(parsed->value(), value);
    }
}

QTEST_GUILESS_MAIN(TestRecordCells)
#include "tst_recordcells.moc"
