// "Panel.ini": what the features set is written at once as CR LF text and
// read back the same; a damaged file gives up only its bad lines, and what
// other features keep there survives; a write that fails, however it fails,
// leaves the folder as it was.
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>

#include "PanelIni.h"
#include "ProgramFolder.h"
#include "Recorders.h"

namespace {

using Entries = QList<QPair<QString, QString>>;
const Entries ReadFailed = {{"Error Reading Panel.ini File", "File Error"}};
const Entries WriteFailed = {{"Error Writing Panel.ini File", "File Error"}};

// The folder's names and the file's bytes: a file left behind or changed shows.
QString snapshot(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    return names.join('|') + ' ' + readFile(folder + "/Panel.ini").toHex();
}

// While it lives, no file of this process grows past 8 bytes: the disk fills
// up in the middle of a write, which no permission can stage for root.
struct FullDisk {
    FullDisk() {
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the test
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit full = old;
        full.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};

}  // namespace

class PanelIniTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // No file reads as empty, unlogged. A name that would not read back is
    // refused; a change that changes nothing does not bring back the deleted file.
    void changesAreWrittenAtOnceAndReadBack() {
        QTemporaryDir dir;
        RecordingLog log;
        PanelIni ini(dir.path() + '/', log);
        ini.read();
        ini.setValue("Meters", "Peak Hold", "2 s");
        ini.setValue("Journal", "Folder", "a=b\r\nc");
        ini.replaceSection("Meters", {{"Scale", "dBu"}, {"Ballistics", " x "}, {"Scale", "dBFS"}});
        ini.replaceSection("Extra", {{"Key", "v"}});
        ini.removeSection("Extra");
        ini.setValue("Meters", "Bad=Key", "x");
        const QByteArray text =
            "[Meters]\r\nScale=dBFS\r\nBallistics=x\r\n[Journal]\r\nFolder=a=b  c\r\n";
        QCOMPARE(snapshot(dir.path()), "Panel.ini " + text.toHex());

        QVERIFY(QFile::remove(ini.filePath()));
        ini.setValue("Journal", "Folder", "a=b\r\nc");
        ini.replaceSection("Meters", {{"Scale", "dBFS"}, {"Ballistics", "x"}});
        ini.removeKey("Meters", "Peak Hold");
        QVERIFY(!QFile::exists(ini.filePath()));
        QVERIFY(ini.write());
        PanelIni again(dir.path() + '/', log);
        again.read();
        QCOMPARE(again.sections(), QStringList({"Meters", "Journal"}));
        QCOMPARE(again.keys("Meters"), QStringList({"Scale", "Ballistics"}));
        QCOMPARE(again.value("Journal", "Folder"), "a=b  c");
        QCOMPARE(readFile(ini.filePath()), text);
        QCOMPARE(log.entries, WriteFailed);
    }

    void damagedFileKeepsItsGoodLines() {
        QTemporaryDir dir;
        RecordingLog log;
        PanelIni ini(dir.path() + '/', log);
        QVERIFY(writeFile(ini.filePath(),
                          "\xEF\xBB\xBF; about the file\nOrphan=1\r\n[Meters]\r\ngarbage\r\n"
                          " Scale = dBu \n=no key\r\n\r\n# hand note\r\nScale=dBFS\r\n"
                          "[Other Feature]\r\nZ=1\r\nA=2\r\n[ ]\r\nLost=1\r\n; lost too\r\n"));
        ini.read();
        QCOMPARE(log.entries, ReadFailed);
        ini.setValue("Meters", "Peak", "3");
        QCOMPARE(readFile(ini.filePath()),
                 "; about the file\r\n[Meters]\r\nScale=dBFS\r\n# hand note\r\nPeak=3\r\n"
                 "[Other Feature]\r\nZ=1\r\nA=2\r\n");
        QCOMPARE(log.entries, ReadFailed);
    }

    void failedWriteLeavesFolderAsItWas_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("folder missing") << "missing";
        QTest::newRow("a folder in the way") << "folder";
        QTest::newRow("disk full") << "full";
    }
    void failedWriteLeavesFolderAsItWas() {
        QFETCH(QString, obstacle);
        QTemporaryDir dir;
        if (obstacle == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("Panel.ini"));
        } else {
            QVERIFY(writeFile(dir.filePath("Panel.ini"), "[Meters]\r\nScale=dBu\r\n"));
        }
        const QString before = snapshot(dir.path());
        RecordingLog log;
        PanelIni ini(dir.path() + (obstacle == "missing" ? "/missing/" : "/"), log);
        std::optional<FullDisk> full;
        if (obstacle == "full") full.emplace();
        ini.setValue("Meters", "Scale", "dBFS");
        full.reset();
        QCOMPARE(log.entries, WriteFailed);
        QCOMPARE(snapshot(dir.path()), before);
    }

    // Exactly a MiB is read; a byte more is refused whole, and a file that
    // could not be read is never replaced by what little the panel holds.
    void oversizedFileIsRefusedAndKept() {
        QTemporaryDir dir;
        RecordingLog log;
        PanelIni ini(dir.path() + '/', log);
        QByteArray text;
        for (const int extra : {0, 1}) {
            text = QByteArray("[Meters]\r\n;").leftJustified(qsizetype{1024} * 1024 + extra, 'x');
            QVERIFY(writeFile(ini.filePath(), text));
            ini.read();
            QCOMPARE(ini.sections(), extra ? QStringList() : QStringList{"Meters"});
        }
        QCOMPARE(log.entries, ReadFailed);
        ini.setValue("Snapshots", "Fade Seconds", "2");
        QCOMPARE(readFile(ini.filePath()), text);
        QCOMPARE(log.entries, ReadFailed + WriteFailed);
    }

    // Changes in a batch are one write, at its end.
    void batchWritesOnce() {
        QTemporaryDir dir;
        RecordingLog log;
        PanelIni ini(dir.path() + '/', log);
        {
            const PanelIni::Batch once(ini);
            ini.setValue("A", "k", "1");
            ini.replaceSection("B", {{"k", "2"}});
            QVERIFY(!QFile::exists(ini.filePath()));
        }
        QCOMPARE(readFile(ini.filePath()), QByteArray("[A]\r\nk=1\r\n[B]\r\nk=2\r\n"));
    }
};

QTEST_GUILESS_MAIN(PanelIniTest)
#include "PanelIniTest.moc"
