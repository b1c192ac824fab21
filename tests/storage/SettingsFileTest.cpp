// "Slider.ini": the key rules of the reader, where a bad entry stops it, the
// writer's exact bytes, and that what is written reads back the same.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "PanelState.h"
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

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readsFile_data();
    void readsFile();
    void writesExactBytes();
    void roundTrips_data();
    void roundTrips();
    void failedWriteKeepsOldFile();

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

void SettingsFileTest::init() {
    QFile::remove(dir_.filePath(QStringLiteral("Slider.ini")));
    state_ = PanelState();
    state_.AppPath = dir_.path() + '/';
    log_.entries.clear();
}

// A null file means no file at all; a failing row keeps what came before.
void SettingsFileTest::readsFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("fails");
    const auto row = [](const char* name, const QByteArray& file, const QString& expected,
                        bool fails = false) { QTest::newRow(name) << file << expected << fails; };
    row("no file", QByteArray(), kDefaults);
    row("empty address", "IP Address=", kDefaults);
    row("address cut to 25", "IP Address=123456789012345678901234567890",
        "15|1|0|0|1234567890123456789012345:1250");
    row("blanks around entry", " \tIP Address=10.1.2.3  \r\n", "15|1|0|0|10.1.2.3:1250");
    row("port above range", "IP Port=70000", "15|1|0|0|127.0.0.1:70000");
    row("port cut to 5 digits", "IP Port=123456", "15|1|0|0|127.0.0.1:12345");
    row("port zero", "IP Port=0", kDefaults);
    row("port negative", "IP Port=-5", kDefaults);
    row("stage 21", "Gain Stage=21", "0|1|0|0|127.0.0.1:1250");
    row("stage 20", "Gain Stage=20", "20|1|0|0|127.0.0.1:1250");
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
    row("channel negative", "Chan 1=-4", kDefaults);
    row("device id", "Gain Stage=20\r\nChan 1=5", "20|1|5|0|127.0.0.1:1250");
    row("device id negative", "Gain Stage=20\r\nChan 1=-3", "20|1|0|0|127.0.0.1:1250");
    row("stage after chan", "Chan 1=5\r\nGain Stage=20", "20|1|4|0|127.0.0.1:1250");
    row("link 1", "Link 1=1", "15|1|0|1|127.0.0.1:1250");
    row("link negative", "Link 1=-1", "15|1|0|-1|127.0.0.1:1250");
    row("link 7", "Link 1=7", kDefaults);
    row("binary junk", QByteArray::fromHex("00ff0d0a2cfe80410909c3"), kDefaults);
    row("very long line", "IP Address=" + QByteArray(500000, 'x'),
        "15|1|0|0|xxxxxxxxxxxxxxxxxxxxxxxxx:1250");
    row("fader beyond count", "Gain Stage=3\r\nFader Count=2\r\nChan 1=7\r\nChan 3=5\r\nIP Port=9",
        "3|2|6 0|0 0|127.0.0.1:1250", true);
    row("chan before count", "IP Port=77\r\nChan 2=5\r\nGain Stage=3", "15|1|0|0|127.0.0.1:77",
        true);
    row("stage beyond 16 bits", "IP Port=77\r\nGain Stage=40000\r\nFader Count=3",
        "15|1|0|0|127.0.0.1:77", true);
    row("fader 0", "IP Port=77,Link 0=1,IP Port=78", "15|1|0|0|127.0.0.1:77", true);
    row("over a megabyte", "IP Port=77\r\n" + QByteArray(1100000, ','), kDefaults, true);
}

void SettingsFileTest::readsFile() {
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QFETCH(bool, fails);
    if (!file.isNull()) QVERIFY(WriteBytes(Path(), file));
    SettingsFile(state_, log_).ReadIniFile();
    QCOMPARE(Summary(state_), expected);
    QCOMPARE(LoggedDescriptions(),
             fails ? QStringList{"Error Reading Vorbin.ini File/File Error"} : QStringList());
}

void SettingsFileTest::writesExactBytes() {
    state_.FaderCount = 2;
    state_.Chan = {4, 5};
    state_.Link = {1, 1};
    SettingsFile(state_, log_).WriteIniFile();
    QCOMPARE(ReadBytes(Path()),
             QByteArray("[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=2\r\nChan 1=5\r\n"
                        "Link 1=1\r\nChan 2=6\r\nLink 2=1\r\nIP Address=127.0.0.1\r\n"
                        "IP Port=1250\r\n"));
    QVERIFY(log_.entries.isEmpty());
}

void SettingsFileTest::roundTrips_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("firstChannel");
    QTest::newRow("stage 15") << 15 << 0;
    QTest::newRow("stage 20") << 20 << 32767;
}

// Written twice, as setup and shutdown do; the second file must win. Twenty
// faders with distinct values catch a misread one- or two-digit fader number.
void SettingsFileTest::roundTrips() {
    QFETCH(int, stage);
    QFETCH(int, firstChannel);
    SettingsFile(state_, log_).WriteIniFile();
    state_.GainStage = static_cast<int16_t>(stage);
    state_.FaderCount = 20;
    state_.Chan.clear();
    state_.Link.clear();
    for (int16_t n = 0; n < 20; ++n) {
        state_.Chan.push_back(n == 0 ? static_cast<int16_t>(firstChannel) : 100 + n);
        state_.Link.push_back(n % 3 == 0);
    }
    state_.IPAddress = QStringLiteral("192.168.100.200");
    state_.IPPort = 40000;
    SettingsFile(state_, log_).WriteIniFile();
    PanelState reread;
    reread.AppPath = state_.AppPath;
    SettingsFile(reread, log_).ReadIniFile();
    QCOMPARE(Summary(reread), Summary(state_));
    QVERIFY(log_.entries.isEmpty());
}

// Neither a state with too few channels nor a directory in the way may leave
// a half-written file or stray temporary files behind.
void SettingsFileTest::failedWriteKeepsOldFile() {
    SettingsFile settings(state_, log_);
    settings.WriteIniFile();
    const QByteArray written = ReadBytes(Path());
    state_.FaderCount = 3;
    settings.WriteIniFile();
    QCOMPARE(ReadBytes(Path()), written);

    QTemporaryDir other;
    state_ = PanelState();
    state_.AppPath = other.path() + '/';
    QVERIFY(QDir(other.path()).mkdir(QStringLiteral("Slider.ini")));
    settings.WriteIniFile();
    settings.ReadIniFile();
    QCOMPARE(QDir(other.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"Slider.ini"});
    QCOMPARE(LoggedDescriptions(),
             QStringList({"Error Reading ini File/File Error", "Error Reading ini File/File Error",
                          "Error Reading Vorbin.ini File/File Error"}));
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
