// Read-out text of gain codes and the stored gain of a fader by gain stage.
#include <QLocale>
#include <QTest>
#include <stdexcept>

#include "GainReadout.h"
#include "PanelState.h"

class GainReadoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        const QLocale c = QLocale::c(), german(QLocale::German);
        QTest::newRow("top of travel") << 1264 << "Gain (+24db)" << c;
        QTest::newRow("half a dB up") << 1029 << "Gain (+0.5db)" << c;
        QTest::newRow("0 dB has no sign") << 1024 << "Gain (0db)" << c;
        QTest::newRow("below 1 keeps its zero") << 1023 << "Gain (-0.1db)" << c;
        QTest::newRow("negative fraction") << 1000 << "Gain (-2.4db)" << c;
        QTest::newRow("lowest number") << 25 << "Gain (-99.9db)" << c;
        QTest::newRow("bottom of travel") << 24 << "Gain (Off)" << c;
        QTest::newRow("never reported") << 0 << "Gain (Off)" << c;
        QTest::newRow("far above travel") << 32767 << "Gain (+3174.3db)" << c;
        QTest::newRow("locale separator") << 1000 << "Gain (-2,4db)" << german;
        QTest::newRow("locale, no grouping") << 32767 << "Gain (+3174,3db)" << german;
    }
    void readout() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        QCOMPARE(GainReadoutText(static_cast<int16_t>(code)), text);
    }

    // expected -1: the fader has no entry in the tables.
    void storedGain_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("fader");
        QTest::addColumn<int>("expected");
        QTest::newRow("DSP output") << 15 << 9 << 0 << 1001;
        QTest::newRow("analog output") << 3 << 9 << 0 << 1002;
        QTest::newRow("input trim") << 1 << 9 << 0 << 1003;
        QTest::newRow("device ID") << 20 << 9 << 0 << 0;
        QTest::newRow("no table") << 7 << 9 << 0 << 0;
        QTest::newRow("channel beyond the tables") << 15 << 1537 << 0 << -1;
        QTest::newRow("negative channel must not wrap") << 15 << -1 << 0 << -1;
        QTest::newRow("fader beyond the count") << 15 << 9 << 1 << -1;
    }
    void storedGain() {
        QFETCH(int, stage);
        QFETCH(int, channel);
        QFETCH(int, fader);
        QFETCH(int, expected);
        PanelState state;
        state.Chan = {static_cast<int16_t>(channel)};
        state.OutputGains[9] = {1001, 1002};
        state.InputGains[9] = {1004, 1003};
        state.GainStage = static_cast<int16_t>(stage);
        if (expected < 0) QVERIFY_THROWS_EXCEPTION(std::out_of_range, StoredGain(state, fader));
        if (expected >= 0) QCOMPARE(StoredGain(state, fader), expected);
    }
};

QTEST_GUILESS_MAIN(GainReadoutTest)
#include "GainReadoutTest.moc"
