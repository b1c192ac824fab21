// The journal viewer over a throwaway folder, driven through its widgets.
#include <QDir>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "JournalDialog.h"

namespace {

QString entry(int n) { return QStringLiteral("2026-12-07 10:00:00  fader %1  Bühne").arg(n); }

// In the order given: entries(1, 3) as written, entries(3, 1) as shown.
QStringList entries(int from, int to) {
    QStringList lines;
    for (int n = from, step = from <= to ? 1 : -1; n != to + step; n += step) lines << entry(n);
    return lines;
}

struct Journal {
    bool append(const QStringList& lines, const QString& name = "Operator.log") const {
        QFile file(QDir(folder.path()).filePath(name));
        return file.open(QIODevice::Append) && file.write(lines.join("\r\n").toUtf8() + "\r\n") > 0;
    }
    bool open() {
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    }
    QStringList shown() const { return list->toPlainText().split(u'\n', Qt::SkipEmptyParts); }
    QString topLineInView() const { return list->cursorForPosition(QPoint(2, 2)).block().text(); }

    QTemporaryDir folder;
    JournalDialog dialog{folder.filePath("Operator.log")};
    QLineEdit* filter = dialog.findChild<QLineEdit*>("txtFilter");
    QPlainTextEdit* list = dialog.findChild<QPlainTextEdit*>("lstJournal");
    QLabel* note = dialog.findChild<QLabel*>("lblNote");
    QTimer* timer = dialog.findChild<QTimer*>("tmrFollow");
};

}  // namespace

class JournalDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Both generations, newest first, at most 5000 lines. Lines arrive and
    // the file is moved aside for a new one while the operator reads further
    // down: the line in view stays put, though the oldest lines go.
    void followsBothGenerationsNewestFirst() {
        Journal j;
        const QString old = j.folder.filePath("Operator.old.log");
        QVERIFY(j.append(entries(1, 4900), old) && j.append(entries(4901, 5001)) && j.open());
        QCOMPARE(j.shown(), entries(5001, 2));
        QCOMPARE(j.note->text(), "Showing the latest 5000 of 5001 lines");
        j.list->verticalScrollBar()->setValue(30);
        const QString inView = j.topLineInView();
        QVERIFY(j.append({entry(5002)}) && QFile::remove(old));
        QVERIFY(QFile::rename(j.folder.filePath("Operator.log"), old) && j.append({entry(5003)}));
        QTRY_COMPARE(j.shown(), entries(5003, 4901));
        QCOMPARE(j.topLineInView(), inView);
        QCOMPARE(j.note->text(), "");
    }

    // Of a file, only whole lines of its last 4 MiB are read, wherever the
    // cut falls.
    void readsOnlyTheEnd_data() {
        QTest::addColumn<int>("lineBytes");
        QTest::addColumn<int>("oldestShown");
        QTest::newRow("cut inside a line") << 1000 << 807;
        QTest::newRow("cut after a line end") << 1024 << 905;
    }
    void readsOnlyTheEnd() {
        QFETCH(int, lineBytes);
        QFETCH(int, oldestShown);
        Journal j;
        QStringList lines = entries(1, 5000);
        for (QString& line : lines) line = (line + ' ').leftJustified(lineBytes - 3, '.');
        QVERIFY(j.append(lines) && j.open());
        QVERIFY(j.list->toPlainText().section(u'\n', -1).startsWith(entry(oldestShown) + ' '));
    }

    // Shown, the dialog follows a journal that was not there yet, through a
    // filter whose case does not matter either way; without a journal (a
    // folder in the place of its older file is none) the note says so rather
    // than blame the filter. Enter in the filter box is no reason to close.
    // Closed, the dialog neither polls nor watches; shown again, it has read
    // the journal at once, and the cleared filter shows every line again.
    void followsWhileShownThroughTheFilter() {
        Journal j;
        QVERIFY(QDir(j.folder.path()).mkdir("Operator.old.log") && !j.timer->isActive());
        QVERIFY(j.open() && j.timer->isActive());
        QTest::keyClicks(j.filter, "Fader");
        QCOMPARE(j.note->text(), "No journal yet");
        QVERIFY(j.append({entry(1), "link lost", entry(2).toUpper()}));
        QTRY_COMPARE(j.shown(), QStringList({entry(2).toUpper(), entry(1)}));
        QTest::keyClick(j.filter, Qt::Key_Return);
        QTest::keyClicks(j.filter, "zz");
        QVERIFY(j.dialog.isVisible() && j.note->text().startsWith("No line"));

        QTest::mouseClick(j.dialog.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QVERIFY(!j.dialog.isVisible() && !j.timer->isActive());
        const auto* watcher = j.dialog.findChild<QFileSystemWatcher*>();
        QVERIFY(watcher->files().isEmpty() && watcher->directories().isEmpty());
        QVERIFY(j.append({entry(3)}) && j.open());
        j.filter->clear();
        QCOMPARE(j.shown(), QStringList({entry(3), entry(2).toUpper(), "link lost", entry(1)}));
    }
};

QTEST_MAIN(JournalDialogTest)
#include "JournalDialogTest.moc"
