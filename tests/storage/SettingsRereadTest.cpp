// Settings survive the panel's own write: whatever a hand-edited file held,
// once the panel has read it and written it back, the next start-up reads the
// same settings, and every line, without a failure.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "PanelState.h"
#include "Recorders.h"
#include "SettingsFile.h"

namespace {

struct Start {
    PanelState state;
    RecordingLog log;
};

// A start-up on the folder: defaults, then the file.
Start ReadFolder(const QString& appPath) {
    Start start;
    start.state.AppPath = appPath;
    SettingsFile(start.state, start.log).ReadIniFile();
    return start;
}

}  // namespace

class SettingsRereadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
};

void SettingsRereadTest::readsBackWhatItWrote_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("channel");  // fader 1's after the first read
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("channelReadBack");

    // The 25-character cut ends in a blank that the entry itself did not end
    // in; written back, the line would end in it and read back without it.
    QTest::newRow("address cut at a blank")
        << QByteArray("IP Address=10.0.0.1    ;was 10.0.0. 2\r\nIP Port=1251\r\n") << 0
        << QStringLiteral("10.0.0.1    ;was 10.0.0.") << 0;
    // A device ID of 32767 kept when a later line leaves Device ID mode: the
    // file would need 32768 for it outside that mode, which no reader takes,
    // and the read would stop there and lose the port after it.
    QTest::newRow("highest device id, then another stage")
        << QByteArray("Gain Stage=20\r\nChan 1=32767\r\nGain Stage=15\r\nIP Port=1251\r\n") << 32767
        << QStringLiteral("127.0.0.1") << 32766;
    QTest::newRow("an ordinary file")
        << QByteArray(
               "Gain Stage=3\r\nFader Count=1\r\nChan 1=7\r\nIP Address=10.0.0.9\r\n"
               "IP Port=1251\r\n")
        << 6 << QStringLiteral("10.0.0.9") << 6;
}

void SettingsRereadTest::readsBackWhatItWrote() {
    QFETCH(QByteArray, file);
    QFETCH(int, channel);
    QFETCH(QString, address);
    QFETCH(int, channelReadBack);
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    QFile ini(appPath + QStringLiteral("Slider.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(file) == file.size());
    ini.close();

    Start first = ReadFolder(appPath);
    QVERIFY(first.log.entries.isEmpty());
    QCOMPARE(int{first.state.Chan.at(0)}, channel);
    QCOMPARE(first.state.IPAddress, address);
    SettingsFile(first.state, first.log).WriteIniFile();
    QVERIFY(first.log.entries.isEmpty());

    const Start again = ReadFolder(appPath);
    QVERIFY(again.log.entries.isEmpty());
    QCOMPARE(int{again.state.Chan.at(0)}, channelReadBack);
    QCOMPARE(again.state.IPAddress, address);
    QCOMPARE(again.state.IPPort, 1251);
    QCOMPARE(again.state.GainStage, first.state.GainStage);
}

QTEST_GUILESS_MAIN(SettingsRereadTest)
#include "SettingsRereadTest.moc"
