// Read-out text of gain codes and the stored gain of a fader by gain stage.
#include <QLocale>
#include <QTest>
#include <stdexcept>

#include "GainReadout.h"
#include "PanelState.h"

class GainReadoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void readout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("top of travel") << 1264 << "Gain (+24db)";
        QTest::newRow("half a dB up") << 1029 << "Gain (+0.5db)";
        QTest::newRow("0 dB has no sign") << 1024 << "Gain (0db)";
        QTest::newRow("below 1 keeps its zero") << 1023 << "Gain (-0.1db)";
        QTest::newRow("negative fraction") << 1000 << "Gain (-2.4db)";
        QTest::newRow("lowest number") << 25 << "Gain (-99.9db)";
        QTest::newRow("bottom of travel") << 24 << "Gain (Off)";
        QTest::newRow("never reported") << 0 << "Gain (Off)";
        QTest::newRow("far above travel") << 32767 << "Gain (+3174.3db)";
    }
    void readout() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(GainReadoutText(static_cast<int16_t>(code)), text);
    }

    void readoutTakesOnlyTheLocaleSeparator() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(GainReadoutText(1000), QStringLiteral("Gain (-2,4db)"));
        QCOMPARE(GainReadoutText(32767), QStringLiteral("Gain (+3174,3db)"));  // no grouping
    }

    void storedGainFollowsStage_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("expected");
        QTest::newRow("DSP output") << 15 << 1001;
        QTest::newRow("analog output") << 3 << 1002;
        QTest::newRow("input trim") << 1 << 1003;
        QTest::newRow("device ID") << 20 << 0;
        QTest::newRow("no table") << 7 << 0;
    }
    void storedGainFollowsStage() {
        QFETCH(int, stage);
        QFETCH(int, expected);
        PanelState state;
        state.Chan = {9};
        state.OutputGains[9] = {1001, 1002};
        state.InputGains[9] = {1004, 1003};
        state.GainStage = static_cast<int16_t>(stage);
        QCOMPARE(StoredGain(state, 0), expected);
    }

    void storedGainThrowsOutsideTables() {
        PanelState state;
        state.Chan = {1537};
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, StoredGain(state, 0));
        state.Chan = {-1};  // must not wrap round to a huge index
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, StoredGain(state, 0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, StoredGain(state, 1));
    }
};

QTEST_GUILESS_MAIN(GainReadoutTest)
#include "GainReadoutTest.moc"
