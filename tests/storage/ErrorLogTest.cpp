// The error log file: its banner, the column layout of an entry, and that a
// log which cannot be written or created costs nothing but the entry.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ErrorLog.h"

namespace {

const QDateTime kNewYearsEve(QDate(2026, 12, 31), QTime(23, 59, 59));

ErrorLog::Clock FixedClock(int* reads = nullptr) {
    return [reads] {
        if (reads) ++*reads;
        return kNewYearsEve;
    };
}

// The file's lines, or a marker when a line end is not CR LF.
QStringList FileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    if (text.count('\n') != text.count(QStringLiteral("\r\n"))) return {"bare LF"};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

}  // namespace

class ErrorLogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dateTimeFitsItsColumn_data();
    void dateTimeFitsItsColumn();
    void layoutKeepsColumns_data();
    void layoutKeepsColumns();
    void bannerStartsEveryNewFile();
    void unusableLogDropsEntries_data();
    void unusableLogDropsEntries();
};

// The long time formats carry a time zone that would overflow the column.
void ErrorLogTest::dateTimeFitsItsColumn_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("time");
    QTest::newRow("C") << QLocale::c() << "23:59:59";
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "11:59:59 PM";
}

void ErrorLogTest::dateTimeFitsItsColumn() {
    QFETCH(QLocale, locale);
    QFETCH(QString, time);
    const ErrorLog log(QString(), FixedClock(), locale);
    const QString text =
        log.DateTimeText(QDateTime(kNewYearsEve.date(), kNewYearsEve.time(), Qt::UTC));
    QCOMPARE(text, locale.toString(kNewYearsEve.date(), QLocale::ShortFormat) + ' ' + time);
    QVERIFY(text.size() <= 24);
}

void ErrorLogTest::layoutKeepsColumns_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expected");
    const QString stamp = QStringLiteral("31 Dec 2026 23:59:59    ");
    QTest::newRow("short") << "File Error" << stamp + "File Error" + QString(26, ' ') + "Failed";
    QTest::newRow("empty") << "" << stamp + QString(36, ' ') + "Failed";
    QTest::newRow("to column 60") << QString(36, 'L') << stamp + QString(36, 'L') + "Failed";
    QTest::newRow("past column 60") << QString(40, 'L') << stamp + QString(40, 'L') + "Failed";
}

void ErrorLogTest::layoutKeepsColumns() {
    QFETCH(QString, location);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    ErrorLog log(dir.path() + '/', FixedClock(), QLocale::c());
    log.LogError(QStringLiteral("Failed"), location);
    QCOMPARE(FileLines(log.FilePath()).value(11), expected);
}

// Also after the file was deleted while the panel runs.
void ErrorLogTest::bannerStartsEveryNewFile() {
    QTemporaryDir dir;
    ErrorLog log(dir.path() + '/', FixedClock(), QLocale::c());
    log.LogError(QStringLiteral("Gone"), QStringLiteral("File Error"));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Errorlog.txt"))));
    log.LogError(QStringLiteral("Error Receiving Gain"), QStringLiteral("Gain Message"));
    log.LogError(QStringLiteral("Check Sum Error"), QStringLiteral("Gain Message"));
    const QStringList lines = FileLines(log.FilePath());
    QCOMPARE(lines.size(), 13);
    QVERIFY(lines[0].startsWith(QString(13, ' ')) && lines[0].at(13) != ' ');
    for (int i : {2, 3, 4})
        QVERIFY(lines[i].startsWith(QString(19, ' ')) && lines[i].at(19) != ' ');
    for (int i : {1, 5, 6, 8}) QVERIFY(lines[i].isEmpty());
    QCOMPARE(lines[7], "Tavrel Error Logfile");
    QCOMPARE(lines[9],
             " DATE     TIME           LOCATION                           MESSAGE DESCRIPTION");
    QCOMPARE(lines[10], QString(80, '-'));
    QVERIFY(lines[11].endsWith("Gain Message" + QString(24, ' ') + "Error Receiving Gain"));
    QVERIFY(lines[12].endsWith("Check Sum Error"));
}

// A directory in the way cannot be appended to; a missing folder cannot take
// a new file, and reporting that into the same log must not try again.
void ErrorLogTest::unusableLogDropsEntries_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("blocker");
    QTest::newRow("directory in the way") << ""
                                          << "Errorlog.txt";
    QTest::newRow("missing folder") << "missing/"
                                    << "";
}

void ErrorLogTest::unusableLogDropsEntries() {
    QFETCH(QString, folder);
    QFETCH(QString, blocker);
    QTemporaryDir dir;
    if (!blocker.isEmpty()) QVERIFY(QDir(dir.path()).mkdir(blocker));
    int clockReads = 0;
    ErrorLog log(dir.path() + '/' + folder, FixedClock(&clockReads), QLocale::c());
    log.LogError(QStringLiteral("Lost"), QStringLiteral("File Error"));
    log.LogError(QStringLiteral("Lost too"), QStringLiteral("File Error"));
    QCOMPARE(clockReads, 2);
    QVERIFY(!QFileInfo(log.FilePath()).isFile());
}

QTEST_GUILESS_MAIN(ErrorLogTest)
#include "ErrorLogTest.moc"
