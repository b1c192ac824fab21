// "Panel.ini": what the features set is written at once as CR LF text and
// read back the same; a damaged file gives up only its bad lines, and what
// other features keep there survives; a write that fails, however it fails,
// leaves the folder as it was.
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "PanelIni.h"
#include "ProgramFolder.h"
#include "Recorders.h"

namespace {

using Entries = QList<QPair<QString, QString>>;
const Entries ReadFailed = {{"Error Reading Panel.ini File", "File Error"}};
const Entries WriteFailed = {{"Error Writing Panel.ini File", "File Error"}};

}  // namespace

class PanelIniTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each change is written at once; a value is held as the file gives it
    // back, a repeated key keeps its first place, and a name that would not
    // read back is refused. The changes of a batch are one write, at its end.
    void changesAreWrittenAtOnceAndReadBack() {
        QTemporaryDir dir;
        RecordingLog log;
        PanelIni ini(dir.path() + '/', log);
        ini.setValue("Meters", "Peak Hold", "2 s");
        ini.setValue("Paths", "Log", "a=b\r\nc");
        ini.replaceSection("Meters", {{"Scale", "dBu"}, {"Hold", " x "}, {"Scale", "dBFS"}});
        ini.replaceSection("Extra", {{"Key", "v"}});
        ini.removeSection("Extra");
        ini.setValue("Meters", "Bad=Key", "x");
        const QByteArray text = "[Meters]\r\nScale=dBFS\r\nHold=x\r\n[Paths]\r\nLog=a=b  c\r\n";
        {
            const PanelIni::Batch once(ini);
            ini.setValue("Batch", "k", "1");
            QCOMPARE(readFile(ini.filePath()), text);
        }
        ini.read();
        QCOMPARE(ini.value("Paths", "Log"), "a=b  c");
        QCOMPARE(readFile(ini.filePath()), text + "[Batch]\r\nk=1\r\n");
        QCOMPARE(log.entries, WriteFailed);
    }

    // One change, given as a feature might, after reading what is there. A
    // missing file reads as empty, unlogged; a change that changes nothing
    // does not touch the file. A damaged file gives up only its bad lines,
    // logged once, and what other features keep there survives in its order.
    // Exactly a MiB is read; a byte more, like a folder in the file's place,
    // cannot be, and a file that could not be read is never replaced by what
    // little the panel holds. A write that fails, however it fails, leaves
    // the folder as it was, no file changed and none left behind. The disk
    // filling up mid-write is staged with a limit on the size of this
    // process's files, which holds for root too.
    void changeAfterReading_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<Entries>("logged");
        const QByteArray damaged =
            "\xEF\xBB\xBF; about the file\nOrphan=1\r\n[Meters]\r\ngarbage\r\n"
            " Scale = dBu \n=no key\r\n\r\n# hand note\r\nScale=dBFS\r\n"
            "[Other Feature]\r\nZ=1\r\nA=2\r\n[ ]\r\nLost=1\r\n; lost too\r\n";
        const QByteArray kept =
            "; about the file\r\n[Meters]\r\nScale=dBFS\r\n# hand note\r\nPeak=3\r\n"
            "[Other Feature]\r\nZ=1\r\nA=2\r\n";
        const QByteArray mib = QByteArray("[Meters]\r\n;").leftJustified(1 << 20, 'x');
        const QByteArray small = "[Meters]\r\nScale=dBu\r\n";
        const QByteArray same = "[Meters]\nPeak = 3\n";
        QTest::newRow("nothing changed") << "" << same << same << Entries();
        QTest::newRow("damaged lines") << "" << damaged << kept << ReadFailed;
        QTest::newRow("a MiB") << "" << mib << mib + "\r\nPeak=3\r\n" << Entries();
        QTest::newRow("a byte more") << "" << mib + 'x' << mib + 'x' << ReadFailed + WriteFailed;
        QTest::newRow("a folder") << "folder" << small << QByteArray() << ReadFailed + WriteFailed;
        QTest::newRow("folder missing") << "missing" << small << small << WriteFailed;
        QTest::newRow("disk full") << "full" << small << small << WriteFailed;
    }
    void changeAfterReading() {
        QFETCH(QString, obstacle);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        QFETCH(Entries, logged);
        QTemporaryDir dir;
        const QString file = dir.filePath("Panel.ini");
        QVERIFY(obstacle == "folder" ? QDir().mkdir(file) : writeFile(file, text));
        RecordingLog log;
        PanelIni ini(dir.path() + (obstacle == "missing" ? "/missing/" : "/"), log);
        ini.read();
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{obstacle == "full" ? 8 : old.rlim_cur, old.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &limit);
        ini.setValue("Meters", "Peak", " 3\r\n");
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(QDir(dir.path()).entryList(), QStringList({".", "..", "Panel.ini"}));
        QCOMPARE(readFile(file), written);
        QCOMPARE(log.entries, logged);
    }
};

QTEST_GUILESS_MAIN(PanelIniTest)
#include "PanelIniTest.moc"
