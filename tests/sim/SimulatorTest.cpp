// The simulator's own logic: its command line, its model of the switcher and
// what it answers to an information request.
#include <QtTest>

#include "ModelMessages.h"
#include "SimOptions.h"
#include "SwitcherModel.h"

class SimulatorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gainLimit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");  // -1: refused
        QTest::newRow("code") << "1124" << 1124;
        QTest::newRow("decibels") << "10dB" << 1124;
        QTest::newRow("signed decibels with a blank") << "+10 dB" << 1124;
        QTest::newRow("fractional negative decibels") << "-3.5db" << 989;
        QTest::newRow("largest code") << "16383" << 16383;
        QTest::newRow("beyond a 7-bit pair") << "16384" << -1;
        QTest::newRow("below code 0") << "-103dB" << -1;
        QTest::newRow("no number") << "dB" << -1;
        QTest::newRow("trailing junk") << "10dBx" << -1;
    }
    void gainLimit() {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(ParseGainLimit(text).value_or(-1), code);
    }

    void commandLine_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("every option")
            << "--port 0 --listen ::1 --sources 1024 --destinations 1 --advanced --max-gain 10dB "
               "--wander 0.5 --keepalive 0 --split --corrupt 3 --close-after 11 --outage 2:1.5 "
               "--seed 7 --quiet"
            << true;
        QTest::newRow("port beyond 16 bits") << "--port 65536" << false;
        QTest::newRow("more destinations than a map holds") << "--destinations 1025" << false;
        QTest::newRow("address that is a name") << "--listen localhost" << false;
        QTest::newRow("outage without a duration") << "--outage 5" << false;
        QTest::newRow("stray argument") << "1250" << false;
    }
    void commandLine() {
        QFETCH(QString, arguments);
        QFETCH(bool, accepted);
        const ParsedOptions parsed =
            ParseSimOptions(QStringList{"switcher-sim"} + arguments.split(QLatin1Char(' ')));
        QCOMPARE(parsed.error.isEmpty(), accepted);
        if (!accepted) return;
        QCOMPARE(parsed.options.maxGain, int16_t(1124));
        QCOMPARE(parsed.options.outageAfterSeconds, 2.0);
        QCOMPARE(parsed.options.outageSeconds, 1.5);
        QCOMPARE(parsed.options.port, uint16_t(0));
        QCOMPARE(parsed.options.closeAfter, 11);
    }

    void modelTakesGainsWithinItsLimit() {
        SwitcherModel model(4, 6, 1124);
        QCOMPARE(model.Apply(15, 2, 1264).value_or(-1), int16_t(1124));
        QCOMPARE(model.Apply(15, 2, -5).value_or(-1), int16_t(0));
        QCOMPARE(model.Apply(1, 3, 900).value_or(-1), int16_t(900));
        QCOMPARE(model.Gains({1, 3, 1}), std::vector<int16_t>{900});
        QVERIFY(!model.Apply(1, 4, 900));   // a fifth source
        QVERIFY(!model.Apply(3, -1, 900));  // below the first channel
        QVERIFY(!model.Apply(20, 0, 900));  // device IDs are no gain stage
    }

    void pairsStayWhole() {
        SwitcherModel model(5, 8, 16383);
        QCOMPARE(model.PairOf(15, 1).first, 0);  // PGM R goes with PGM L
        QCOMPARE(model.PairOf(15, 1).count, 2);
        QCOMPARE(model.PairOf(15, 2).count, 1);
        // The fifth source would be the left half of a pair whose right half is missing.
        QCOMPARE(model.PairOf(1, 4).count, 1);
        QCOMPARE(model.Gains({15, 4, 1}), model.Gains({15, 5, 1}));
    }

    void answerFollowsTheRequestedBits_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("tables");  // command and kind of each table sent
        QTest::newRow("start-up") << 36608 << QByteArray::fromHex("fc0afc14fa0afa14");
        QTest::newRow("destination names again") << 512 << QByteArray::fromHex("fc14");
        QTest::newRow("no table bits") << 127 << QByteArray();
    }
    void answerFollowsTheRequestedBits() {
        QFETCH(int, code);
        QFETCH(QByteArray, tables);
        const std::vector<Outgoing> answer =
            AnswerInfoRequest(SwitcherModel(8, 8, 16383), code, false);
        QByteArray seen;
        for (const Outgoing& message : answer) seen += message.bytes.left(2);
        // Every answer ends with the crosspoint map and the gains of stages 1, 3 and 15.
        QCOMPARE(seen, tables + QByteArray::fromHex("f600e302e302e302"));
        QCOMPARE(answer.back().bytes.at(2), char(15));
    }

    void advancedReportsKeepToTheEntryLimit() {
        const SwitcherModel model(300, 8, 16383);
        const std::vector<Outgoing> reports = GainReports(model, {1, 0, 300}, true);
        QCOMPARE(reports.size(), size_t(3));
        QCOMPARE(reports[0].bytes.at(3), char(127));
        QCOMPARE(reports[2].bytes.at(3), char(300 - 2 * 127));
    }
};

QTEST_GUILESS_MAIN(SimulatorTest)
#include "SimulatorTest.moc"
