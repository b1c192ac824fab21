// What the panel keeps on disk: "Slider.ini", whatever it held, read and
// written back to read the same, or left as it was when a write fails; the
// error log's banner and columns; and the reader of numbers typed by hand.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "ErrorLog.h"
#include "NumberReader.h"
#include "PanelFolders.h"
#include "PanelState.h"
#include "ProgramFolder.h"
#include "Recorders.h"
#include "SettingsFile.h"

namespace {

// "stage|faders|#fader:chan/link ..." naming only the faders whose channel or
// Stereo entry is not 0, then "@address:port" unless both are the defaults.
QString summary(const PanelState& s) {
    QString text = QStringLiteral("%1|%2|").arg(s.GainStage).arg(s.FaderCount);
    for (size_t i = 0; i < s.Chan.size(); ++i) {
        if (s.Chan[i] || s.Link.at(i))
            text += QStringLiteral("#%1:%2/%3 ").arg(i + 1).arg(s.Chan[i]).arg(s.Link[i]);
    }
    const QString endpoint = s.IPAddress + ':' + QString::number(s.IPPort);
    return endpoint == QStringLiteral("127.0.0.1:1250") ? text : text + '@' + endpoint;
}

QDateTime newYearsEve() { return QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)); }

}  // namespace

class StorageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "none": the number read is outside the width's range.
    void readsNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("value");
        // clang-format off
        const struct { const char* text; int bits; const char* value; } rows[] = {
            {" 1 2\t3 ", 32, "123"}, {"- 5", 32, "-5"}, {"--5", 32, "0"}, {"abc", 32, "0"},
            {"15=3", 32, "15"}, {"1.5.9", 32, "2"}, {"1e3", 32, "1"}, {"0.5", 32, "0"},
            {"-2.500", 32, "-2"}, {"2.50000000000000000001", 32, "3"}, {"-0.4", 32, "0"},
            {"32767", 16, "32767"}, {"32768", 16, "none"}, {"-32768.5", 16, "-32768"},
            {"-32769", 16, "none"}, {"32767.5", 16, "none"}, {"2147483647", 32, "2147483647"},
            {"2147483647.5", 32, "none"}, {"-2147483649", 32, "none"}};
        // clang-format on
        for (const auto& r : rows) QTest::newRow(r.text) << QString(r.text) << r.bits << r.value;
        QTest::newRow("endless digits") << QString(5000, QLatin1Char('9')) << 16 << "none";
    }
    void readsNumbers() {
        QFETCH(QString, text);
        QFETCH(int, bits);
        QFETCH(QString, value);
        const std::optional<int32_t> read =
            bits == 16 ? std::optional<int32_t>(NumberReader::readInt16(text))
                       : NumberReader::readInt32(text);
        QCOMPARE(read ? QString::number(*read) : QStringLiteral("none"), value);
    }

    // A null file means no file at all; a failing row keeps what came before
    // and logs it. A null reread means the written file reads back the same.
    void settingsReadAndReread_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("reread");
        const auto row = [](const char* name, const QByteArray& file, const char* expected,
                            bool fails = false, const char* reread = nullptr) {
            QTest::newRow(name) << file << QString(expected) << fails << QString(reread);
        };
        row("no file", QByteArray(), "15|1|");
        row("junk, keys in the wrong case",
            "gain stage=3\n[CONFIGURATION]\n" + QByteArray::fromHex("00ff0d0a2cfe80410909c3"),
            "15|1|");
        // Written back, the line would end in the blank the cut left, and a
        // reader that trims blanks would lose it.
        row("address cut at a blank", "IP Address=10.0.0.1" + QByteArray(17, ' ') + ";x",
            "15|1|@10.0.0.1:1250");
        row("values cut to their width", "IP Port=123456\nIP Address=" + QByteArray(500000, 'x'),
            "15|1|@xxxxxxxxxxxxxxxxxxxxxxxxx:12345");
        row("count and port 0", "Fader Count=0,IP Port=0", "15|1|");
        row("stage 21, count 25", "Gain Stage=21,Fader Count=25", "0|20|");
        row("count wipes faders", "Fader Count=2\nChan 1=9\nLink 1=1\nFader Count=2", "15|2|");
        row("commas and blanks split entries", "Gain Stage=3, \tFader Count=2,Chan 2=9",
            "3|2|#2:8/0 ");
        row("one- and two-digit faders",
            "Fader Count=20,Chan 9=5,Link 9=7,Chan 10=6,Link 10=1,Chan 20=99,Link 20=-1",
            "15|20|#9:4/0 #10:5/1 #20:98/-1 ");
        // The stage read later does not renumber a channel read before it.
        row("channels at or below the first", "Fader Count=2,Chan 1=0,Gain Stage=20,Chan 2=-3",
            "20|2|");
        // Outside Device ID mode the file would need 32768 for this channel,
        // which no reader takes: the read would stop there and lose the port.
        row("highest device id, then another stage",
            "Gain Stage=20\nChan 1=32767\nGain Stage=15\nIP Port=1251",
            "15|1|#1:32767/0 @127.0.0.1:1251", false, "15|1|#1:32766/0 @127.0.0.1:1251");
        row("fader beyond count", "Gain Stage=3,Fader Count=2,Chan 1=7,Chan 3=5,IP Port=9",
            "3|2|#1:6/0 ", true);
        row("stage beyond 16 bits", "IP Port=77,Gain Stage=40000,Fader Count=3",
            "15|1|@127.0.0.1:77", true);
        row("over a megabyte", "IP Port=77\r\n" + QByteArray(1100000, ','), "15|1|", true);
    }
    void settingsReadAndReread() {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QFETCH(bool, fails);
        QFETCH(QString, reread);
        QTemporaryDir dir;
        PanelState state, again;
        state.AppPath = again.AppPath = dir.path() + '/';
        if (!file.isNull()) QVERIFY(writeFile(dir.filePath(QStringLiteral("Slider.ini")), file));
        RecordingLog log;
        SettingsFile(state, log).ReadIniFile();
        QCOMPARE(summary(state), expected);
        QCOMPARE(log.entries.size(), int(fails));
        SettingsFile(state, log).WriteIniFile();
        SettingsFile(again, log).ReadIniFile();
        QCOMPARE(summary(again), reread.isNull() ? expected : reread);
        QCOMPARE(log.entries.size(), int(fails));
    }

    // A fader without a channel in the state: nothing is written, and the old
    // file stays whole.
    void settingsWriteExactBytesOrKeepOldFile() {
        QTemporaryDir dir;
        PanelState state;
        state.AppPath = dir.path() + '/';
        RecordingLog log;
        SettingsFile settings(state, log);
        settings.WriteIniFile();
        const QByteArray written =
            "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=1\r\nChan 1=1\r\nLink 1=0\r\n"
            "IP Address=127.0.0.1\r\nIP Port=1250\r\n";
        QCOMPARE(readFile(settings.filePath()), written);
        state.FaderCount = 2;
        settings.WriteIniFile();
        QCOMPARE(readFile(settings.filePath()), written);
        QCOMPARE(log.entries.size(), 1);
    }

    // A file deleted while the panel runs starts again with its banner. The
    // long time format's time zone would overflow the date column; locations
    // short, empty and past the description's column.
    void errorLogBannerAndColumns() {
        QTemporaryDir dir;
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        ErrorLog log(dir.path() + '/', &newYearsEve, us);
        log.LogError("Gone", "File Error");
        QVERIFY(QFile::remove(log.filePath()));
        for (const QString& location : {QString("File Error"), QString(), QString(40, 'L')})
            log.LogError("Failed", location);
        const QString text = QString::fromUtf8(readFile(log.filePath()));
        QCOMPARE(text.count('\n'), text.count(QStringLiteral("\r\n")));
        const QString stamp =
            (us.toString(newYearsEve().date(), QLocale::ShortFormat) + " 11:59:59 PM")
                .leftJustified(24);
        QCOMPARE(text.split(QStringLiteral("\r\n")).mid(7),
                 QStringList({"Tavrel Error Logfile", "",
                              QString(" DATE     TIME           LOCATION") + QString(27, ' ') +
                                  "MESSAGE DESCRIPTION",
                              QString(80, '-'), stamp + "File Error" + QString(26, ' ') + "Failed",
                              stamp + QString(36, ' ') + "Failed",
                              stamp + QString(40, 'L') + "Failed", ""}));
    }

    // A log at its size limit moves aside, replacing the older one, and a new
    // one starts with its banner: two files at most, each about the limit,
    // no entry lost at the seam.
    void fullErrorLogMovesAside() {
        QTemporaryDir dir;
        QDateTime now = newYearsEve();
        ErrorLog::Limits limits;
        limits.rotateBytes = 2000;
        ErrorLog log(
            dir.path() + '/', [&] { return now; }, QLocale::c(), limits);
        for (int i = 0; i < 100; ++i, now = now.addSecs(1))
            log.LogError(QStringLiteral("Entry %1").arg(i), "File Error");
        const QString text =
            QString::fromUtf8(readFile(log.oldFilePath()) + readFile(log.filePath()));
        QCOMPARE(text.count("Tavrel Error Logfile"), 2);
        QVERIFY(text.contains("Entry 99\r\n"));
        for (const QString& path : {log.filePath(), log.oldFilePath()})
            QVERIFY(QFileInfo(path).size() < limits.rotateBytes + 100);
        const QStringList entries = text.split("\r\n").filter("Entry ");
        const int first = entries.first().section(' ', -1).toInt();
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(entries[i].section(' ', -1).toInt(), first + i);
    }

    // With an event loop a burst is summed up once it has gone quiet, with
    // no further entry to prompt it.
    void quietBurstIsSummedUp() {
        QTemporaryDir dir;
        ErrorLog::Limits limits;
        limits.bursts.quietMs = 50;
        ErrorLog log(dir.path() + '/', &QDateTime::currentDateTime, QLocale::c(), limits);
        for (int i = 0; i < 25; ++i) log.LogError("Check Sum Error", "Gain Message");
        QTRY_VERIFY(readFile(log.filePath()).contains("Check Sum Error (15 more like this until"));
        QCOMPARE(readFile(log.filePath()).count("Check Sum Error"), 11);
    }

    // Beside the program when its folder can be written; else the user's
    // configuration and state folders, from XDG_CONFIG_HOME and
    // XDG_STATE_HOME when they are absolute paths, else under HOME.
    void panelFoldersByWhatCanBeWritten() {
        QTemporaryDir dir;
        QVERIFY(canWriteIn(dir.path()) && !canWriteIn(dir.filePath("missing")));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        using Vars = QMap<QString, QString>;
        const Vars home{{"HOME", "/home/op"}};
        const Vars xdg{
            {"HOME", "/home/op"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_STATE_HOME", "/st/"}};
        const Vars relative{{"HOME", "/home/op"}, {"XDG_CONFIG_HOME", "cfg"}};
        const QList<std::tuple<bool, Vars, QString>> rows{
            {true, xdg, "/opt/panel/ /opt/panel/"},
            {false, home,
             "/home/op/.config/orx-level-control/ /home/op/.local/state/orx-level-control/"},
            {false, xdg, "/cfg/orx-level-control/ /st/orx-level-control/"},
            {false, relative,
             "/home/op/.config/orx-level-control/ /home/op/.local/state/orx-level-control/"}};
        for (const auto& [writable, vars, expected] : rows) {
            const PanelFolders folders = choosePanelFolders(
                "/opt/panel", writable,
                [vars = vars](const char* name) { return vars.value(QString::fromLatin1(name)); });
            QCOMPARE(folders.settings + ' ' + folders.log, expected);
        }
    }

    // A folder that cannot be made is logged as a file failure.
    void unmakeableFolderIsLogged() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("plain"), "not a folder"));
        RecordingLog log;
        makeFolder(dir.filePath("made/below/"), log);
        makeFolder(dir.filePath("plain/below/"), log);
        QVERIFY(QFileInfo(dir.filePath("made/below")).isDir());
        QCOMPARE(log.entries.size(), 1);
        QCOMPARE(log.entries[0].second, "File Error");
        QVERIFY(log.entries[0].first.startsWith("Error creating folder "));
    }

    // A directory in the way cannot be appended to, a missing folder cannot
    // take a new file: the entry is lost, and nothing else.
    void unusableErrorLogDropsEntries() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Errorlog.txt")));
        for (const QString& folder : {dir.path() + '/', dir.path() + "/missing/"}) {
            ErrorLog log(folder, &newYearsEve, QLocale::c());
            log.LogError("Lost", "File Error");
            QVERIFY(!QFileInfo(log.filePath()).isFile());
        }
    }
};

QTEST_GUILESS_MAIN(StorageTest)
#include "StorageTest.moc"
