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
    // The long time formats carry a time zone that would overflow the column.
    void dateTimeFitsItsColumn_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("time");
        QTest::newRow("C") << QLocale::c() << "23:59:59";
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "11:59:59 PM";
    }
    void dateTimeFitsItsColumn() {
        QFETCH(QLocale, locale);
        QFETCH(QString, time);
        const QString text =
            ErrorLog(QString(), FixedClock(), locale)
                .DateTimeText(QDateTime(kNewYearsEve.date(), kNewYearsEve.time(), Qt::UTC));
        QCOMPARE(text, locale.toString(kNewYearsEve.date(), QLocale::ShortFormat) + ' ' + time);
        QVERIFY(text.size() <= 24);
    }

    // After the file was deleted while the panel runs, the next entry starts a new
    // file with the banner; locations short, empty, up to and past column 60.
    void bannerAndColumns() {
        QTemporaryDir dir;
        ErrorLog log(dir.path() + '/', FixedClock(), QLocale::c());
        log.LogError(QStringLiteral("Gone"), QStringLiteral("File Error"));
        QVERIFY(QFile::remove(log.FilePath()));
        for (const QString& location :
             {QString("File Error"), QString(), QString(36, 'L'), QString(40, 'L')}) {
            log.LogError(QStringLiteral("Failed"), location);
        }
        const QStringList lines = FileLines(log.FilePath());
        QCOMPARE(lines.size(), 15);
        const auto indented = [&lines](int i, int spaces) {
            return lines[i].startsWith(QString(spaces, ' ')) && lines[i].at(spaces) != ' ';
        };
        QVERIFY(indented(0, 13) && indented(2, 19) && indented(3, 19) && indented(4, 19));
        QCOMPARE(lines.mid(5, 6),
                 QStringList({"", "", "Tavrel Error Logfile", "",
                              " DATE     TIME           LOCATION                           MESSAGE "
                              "DESCRIPTION",
                              QString(80, '-')}));
        QVERIFY(lines[1].isEmpty());
        const QString stamp = QStringLiteral("31 Dec 2026 23:59:59    ");
        QCOMPARE(lines.mid(11), QStringList({stamp + "File Error" + QString(26, ' ') + "Failed",
                                             stamp + QString(36, ' ') + "Failed",
                                             stamp + QString(36, 'L') + "Failed",
                                             stamp + QString(40, 'L') + "Failed"}));
    }

    // A directory in the way cannot be appended to; a missing folder cannot take
    // a new file, and reporting that into the same log must not try again.
    void unusableLogDropsEntries_data() {
        QTest::addColumn<bool>("directoryInTheWay");
        QTest::newRow("directory in the way") << true;
        QTest::newRow("missing folder") << false;
    }
    void unusableLogDropsEntries() {
        QFETCH(bool, directoryInTheWay);
        QTemporaryDir dir;
        if (directoryInTheWay) QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Errorlog.txt")));
        int clockReads = 0;
        ErrorLog log(dir.path() + (directoryInTheWay ? "/" : "/missing/"), FixedClock(&clockReads),
                     QLocale::c());
        log.LogError(QStringLiteral("Lost"), QStringLiteral("File Error"));
        log.LogError(QStringLiteral("Lost too"), QStringLiteral("File Error"));
        QCOMPARE(clockReads, 2);
        QVERIFY(!QFileInfo(log.FilePath()).isFile());
    }
};

QTEST_GUILESS_MAIN(ErrorLogTest)
#include "ErrorLogTest.moc"
