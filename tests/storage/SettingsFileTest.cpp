// "Slider.ini": the key rules of the reader, where a bad entry stops it, the
// writer's exact bytes, and that whatever a file held, once the panel has read
// it and written it back, the next start-up reads the same settings.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "PanelState.h"
#include "ProgramFolder.h"
#include "Recorders.h"
#include "SettingsFile.h"

namespace {

QString Join(const std::vector<int16_t>& values) {
    QStringList texts;
    for (int16_t v : values) texts << QString::number(v);
    return texts.join(' ');
}

// "stage|faders|chans|links|address:port", so a row can say what a file leaves.
QString Summary(const PanelState& s) {
    return QStringLiteral("%1|%2|%3|%4|%5:%6")
        .arg(s.GainStage)
        .arg(s.FaderCount)
        .arg(Join(s.Chan), Join(s.Link), s.IPAddress)
        .arg(s.IPPort);
}

const QString kDefaults = QStringLiteral("15|1|0|0|127.0.0.1:1250");

// Twenty faders on distinct channels, every third linked, so that a misread
// one- or two-digit fader number shows: the file, and what it leaves.
QPair<QByteArray, QString> TwentyFaders(int stage, int firstChannel) {
    QByteArray file = "Gain Stage=" + QByteArray::number(stage) + "\r\nFader Count=20\r\n";
    QStringList chans, links;
    for (int n = 1; n <= 20; ++n) {
        const int channel = n == 1 ? firstChannel : 100 + n;
        file += "Chan " + QByteArray::number(n) + "=" + QByteArray::number(channel) + "\r\nLink " +
                QByteArray::number(n) + "=" + QByteArray::number(n % 3 == 1) + "\r\n";
        chans << QString::number(stage == 20 ? channel : channel - 1);
        links << QString::number(n % 3 == 1);
    }
    return {file + "IP Address=192.168.100.200\r\nIP Port=40000\r\n",
            QStringLiteral("%1|20|%2|%3|192.168.100.200:40000")
                .arg(stage)
                .arg(chans.join(' '), links.join(' '))};
}

}  // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        QFile::remove(dir_.filePath(QStringLiteral("Slider.ini")));
        state_ = PanelState();
        state_.AppPath = dir_.path() + '/';
        log_.entries.clear();
    }
    // A null file means no file at all; a failing row keeps what came before. An
    // empty reread means the written file reads back as the first read did.
    void readsAndRereads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("reread");
        const auto row = [](const char* name, const QByteArray& file, const QString& expected,
                            bool fails = false, const QString& reread = QString()) {
            QTest::newRow(name) << file << expected << fails << reread;
        };
        row("no file", QByteArray(), kDefaults);
        row("empty address", "IP Address=", kDefaults);
        row("address cut to 25", "IP Address=123456789012345678901234567890",
            "15|1|0|0|1234567890123456789012345:1250");
        // Written back, the line would end in the blank the cut left, and a
        // reader that trims blanks would lose it.
        row("address cut at a blank", "IP Address=10.0.0.1    ;was 10.0.0. 2\r\n",
            "15|1|0|0|10.0.0.1    ;was 10.0.0.:1250");
        row("blanks around entry", " \tIP Address=10.1.2.3  \r\n", "15|1|0|0|10.1.2.3:1250");
        row("port above range", "IP Port=70000", "15|1|0|0|127.0.0.1:70000");
        row("port cut to 5 digits", "IP Port=123456", "15|1|0|0|127.0.0.1:12345");
        row("port zero", "IP Port=0", kDefaults);
        row("stage 21", "Gain Stage=21", "0|1|0|0|127.0.0.1:1250");
        row("keys are case-sensitive", "gain stage=3\r\n[CONFIGURATION]", kDefaults);
        row("count 0", "Fader Count=0", kDefaults);
        const QString zeros = QStringList(20, QStringLiteral("0")).join(' ');
        row("count 25", "Fader Count=25", "15|20|" + zeros + '|' + zeros + "|127.0.0.1:1250");
        row("count wipes faders", "Fader Count=2\nChan 1=9\nLink 1=1\nFader Count=2",
            "15|2|0 0|0 0|127.0.0.1:1250");
        row("commas split entries", "Gain Stage=3,Fader Count=2,Chan 2=9",
            "3|2|0 8|0 0|127.0.0.1:1250");
        row("stage 15 channel", "Chan 1=5", "15|1|4|0|127.0.0.1:1250");
        row("channel 0", "Chan 1=0", kDefaults);
        row("device id", "Gain Stage=20\r\nChan 1=5", "20|1|5|0|127.0.0.1:1250");
        row("device id negative", "Gain Stage=20\r\nChan 1=-3", "20|1|0|0|127.0.0.1:1250");
        row("stage after chan", "Chan 1=5\r\nGain Stage=20", "20|1|4|0|127.0.0.1:1250");
        // Outside Device ID mode the file would need 32768 for this channel,
        // which no reader takes: the read would stop there and lose the port.
        row("highest device id, then another stage",
            "Gain Stage=20\r\nChan 1=32767\r\nGain Stage=15\r\nIP Port=1251",
            "15|1|32767|0|127.0.0.1:1251", false, "15|1|32766|0|127.0.0.1:1251");
        row("link 1", "Link 1=1", "15|1|0|1|127.0.0.1:1250");
        row("link negative", "Link 1=-1", "15|1|0|-1|127.0.0.1:1250");
        row("link 7", "Link 1=7", kDefaults);
        const auto stage15 = TwentyFaders(15, 1), stage20 = TwentyFaders(20, 32767);
        row("twenty faders in stage 15", stage15.first, stage15.second);
        row("twenty faders in stage 20", stage20.first, stage20.second);
        row("binary junk", QByteArray::fromHex("00ff0d0a2cfe80410909c3"), kDefaults);
        row("very long line", "IP Address=" + QByteArray(500000, 'x'),
            "15|1|0|0|xxxxxxxxxxxxxxxxxxxxxxxxx:1250");
        row("fader beyond count",
            "Gain Stage=3\r\nFader Count=2\r\nChan 1=7\r\nChan 3=5\r\nIP Port=9",
            "3|2|6 0|0 0|127.0.0.1:1250", true);
        row("chan before count", "IP Port=77\r\nChan 2=5\r\nGain Stage=3", "15|1|0|0|127.0.0.1:77",
            true);
        row("stage beyond 16 bits", "IP Port=77\r\nGain Stage=40000\r\nFader Count=3",
            "15|1|0|0|127.0.0.1:77", true);
        row("fader 0", "IP Port=77,Link 0=1,IP Port=78", "15|1|0|0|127.0.0.1:77", true);
        row("over a megabyte", "IP Port=77\r\n" + QByteArray(1100000, ','), kDefaults, true);
    }

    void readsAndRereads() {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QFETCH(bool, fails);
        QFETCH(QString, reread);
        if (!file.isNull()) QVERIFY(WriteFile(Path(), file));
        SettingsFile(state_, log_).ReadIniFile();
        QCOMPARE(Summary(state_), expected);
        QCOMPARE(LoggedDescriptions(),
                 fails ? QStringList{"Error Reading Vorbin.ini File/File Error"} : QStringList());

        log_.entries.clear();
        SettingsFile(state_, log_).WriteIniFile();
        PanelState again;
        again.AppPath = state_.AppPath;
        SettingsFile(again, log_).ReadIniFile();
        QCOMPARE(Summary(again), reread.isNull() ? expected : reread);
        QVERIFY(log_.entries.isEmpty());
    }

    void writesExactBytes() {
        state_.FaderCount = 2;
        state_.Chan = {4, 5};
        state_.Link = {1, 1};
        SettingsFile(state_, log_).WriteIniFile();
        QCOMPARE(ReadFile(Path()),
                 QByteArray("[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=2\r\nChan 1=5\r\n"
                            "Link 1=1\r\nChan 2=6\r\nLink 2=1\r\nIP Address=127.0.0.1\r\n"
                            "IP Port=1250\r\n"));
        QVERIFY(log_.entries.isEmpty());
    }

    // Neither a state with too few channels nor a directory in the way may leave
    // a half-written file or stray temporary files behind.
    void failedWriteKeepsOldFile() {
        SettingsFile settings(state_, log_);
        settings.WriteIniFile();
        const QByteArray written = ReadFile(Path());
        state_.FaderCount = 3;
        settings.WriteIniFile();
        QCOMPARE(ReadFile(Path()), written);

        QTemporaryDir other;
        state_ = PanelState();
        state_.AppPath = other.path() + '/';
        QVERIFY(QDir(other.path()).mkdir(QStringLiteral("Slider.ini")));
        settings.WriteIniFile();
        settings.ReadIniFile();
        QCOMPARE(QDir(other.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Slider.ini"});
        QCOMPARE(LoggedDescriptions(), QStringList({"Error Reading ini File/File Error",
                                                    "Error Reading ini File/File Error",
                                                    "Error Reading Vorbin.ini File/File Error"}));
    }

private:
    QString Path() const { return state_.AppPath + QStringLiteral("Slider.ini"); }
    QStringList LoggedDescriptions() const {
        QStringList texts;
        for (const auto& entry : log_.entries) texts << entry.first + '/' + entry.second;
        return texts;
    }

    QTemporaryDir dir_;
    PanelState state_;
    RecordingLog log_;
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
