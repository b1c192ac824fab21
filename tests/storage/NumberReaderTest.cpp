// The reader of numbers typed by hand: what counts as the number, how
// fractions round, and where the 16- and 32-bit ranges end.
#include <QTest>

#include "NumberReader.h"

class NumberReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsNumberAtStart_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("plain") << "42" << 42.0;
        QTest::newRow("blanks inside") << " 1 2\t3 " << 123.0;
        QTest::newRow("blank after sign") << "- 5" << -5.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("junk after") << "12abc" << 12.0;
        QTest::newRow("stops at equals") << "15=3" << 15.0;
        QTest::newRow("stops at second point") << "1.5.9" << 2.0;
        QTest::newRow("no exponent") << "1e3" << 1.0;
        QTest::newRow("0.5 to even") << "0.5" << 0.0;
        QTest::newRow("1.5 to even") << "1.5" << 2.0;
        QTest::newRow("2.5 to even") << "2.5" << 2.0;
        QTest::newRow("-2.5 to even") << "-2.5" << -2.0;
        QTest::newRow("half with zeros") << "2.5000" << 2.0;
        QTest::newRow("just above half") << "2.50000000000000000001" << 3.0;
        QTest::newRow("small negative") << "-0.4" << 0.0;
    }
    void readsNumberAtStart() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(NumberReader::ReadNumber(text), number);
    }

    void convertsToWidth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("is32Bit");
        QTest::addColumn<QString>("value");
        QTest::newRow("16 top") << "32767" << false << "32767";
        QTest::newRow("16 above top") << "32768" << false << "none";
        QTest::newRow("16 bottom") << "-32768" << false << "-32768";
        QTest::newRow("16 below bottom") << "-32769" << false << "none";
        QTest::newRow("16 rounds past top") << "32767.5" << false << "none";
        QTest::newRow("16 rounds to bottom") << "-32768.5" << false << "-32768";
        QTest::newRow("16 no number") << "x" << false << "0";
        QTest::newRow("16 endless digits") << QString(5000, QLatin1Char('9')) << false << "none";
        QTest::newRow("32 top") << "2147483647" << true << "2147483647";
        QTest::newRow("32 above top") << "2147483648" << true << "none";
        QTest::newRow("32 bottom") << "-2147483648" << true << "-2147483648";
        QTest::newRow("32 below bottom") << "-2147483649" << true << "none";
        QTest::newRow("32 half to even") << "2147483646.5" << true << "2147483646";
        QTest::newRow("32 rounds past top") << "2147483647.5" << true << "none";
    }
    void convertsToWidth() {
        QFETCH(QString, text);
        QFETCH(bool, is32Bit);
        QFETCH(QString, value);
        const auto shown = [](const auto& read) {
            return read ? QString::number(*read) : QStringLiteral("none");
        };
        QCOMPARE(
            is32Bit ? shown(NumberReader::ReadInt32(text)) : shown(NumberReader::ReadInt16(text)),
            value);
    }
};

QTEST_APPLESS_MAIN(NumberReaderTest)
#include "NumberReaderTest.moc"
