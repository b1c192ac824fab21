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
#include <memory>

#include "JournalDialog.h"

namespace {

QString entry(int n) {
    return QStringLiteral("2026-12-07 10:00:00.000  keyboard  fader %1  Bühne").arg(n);
}

// In the order given: entries(1, 3) as written, entries(3, 1) as shown.
QStringList entries(int from, int to) {
    QStringList lines;
    for (int n = from, step = from <= to ? 1 : -1; n != to + step; n += step) lines << entry(n);
    return lines;
}

struct Journal {
    QString path(const char* name = "Operator.log") const { return folder.filePath(name); }
    bool append(const QStringList& lines, const char* name = "Operator.log") const {
        QFile file(path(name));
        return file.open(QIODevice::Append) && file.write(lines.join("\r\n").toUtf8() + "\r\n") > 0;
    }
    bool open() {
        if (!dialog) dialog = std::make_unique<JournalDialog>(path());
        dialog->show();
        return QTest::qWaitForWindowExposed(dialog.get());
    }
    template <typename Widget>
    Widget* find(const char* name) const {
        return dialog->findChild<Widget*>(QString::fromLatin1(name));
    }
    QStringList shown() const {
        const QString text = find<QPlainTextEdit>("lstJournal")->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(u'\n');
    }
    QString note() const { return find<QLabel>("lblNote")->text(); }
    QString topLineInView() const {
        return find<QPlainTextEdit>("lstJournal")->cursorForPosition(QPoint(2, 2)).block().text();
    }

    QTemporaryDir folder;
    std::unique_ptr<JournalDialog> dialog;
};

}  // namespace

class JournalDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Lines arrive, then the file is moved aside for a new one, while the
    // operator reads further down: the line in view stays put.
    void followsBothGenerationsNewestFirst() {
        Journal j;
        QVERIFY(j.append(entries(1, 100), "Operator.old.log") && j.append(entries(101, 200)));
        QVERIFY(j.open());
        QCOMPARE(j.shown(), entries(200, 1));
        j.find<QPlainTextEdit>("lstJournal")->verticalScrollBar()->setValue(30);
        const QString inView = j.topLineInView();
        j.dialog->refresh();
        QCOMPARE(j.topLineInView(), inView);
        QVERIFY(j.append({entry(201)}));
        QTRY_COMPARE(j.shown().first(), entry(201));
        QCOMPARE(j.topLineInView(), inView);

        QVERIFY(QFile::remove(j.path("Operator.old.log")));
        QVERIFY(QFile::rename(j.path(), j.path("Operator.old.log")));
        QVERIFY(j.append({entry(202)}));
        QTRY_COMPARE(j.shown(), entries(202, 101));
        QCOMPARE(j.topLineInView(), inView);
    }

    // The filter also holds for lines read again or arriving later.
    void filterTypedNarrowsCaseInsensitively() {
        Journal j;
        const QString lost = QStringLiteral("2026-12-07 10:00:00.000  link  lost");
        QVERIFY(j.append({entry(1), lost, entry(2).toUpper()}) && j.open());
        auto* filter = j.find<QLineEdit>("txtFilter");
        QTest::keyClicks(filter, "Fader");
        QCOMPARE(j.shown(), QStringList({entry(2).toUpper(), entry(1)}));
        j.dialog->refresh();
        QVERIFY(j.append({entry(3), lost}));
        QTRY_COMPARE(j.shown(), QStringList({entry(3), entry(2).toUpper(), entry(1)}));
        QTest::keyClicks(filter, "zz");
        QVERIFY(j.shown().isEmpty() && j.note().startsWith("No line"));
        QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(filter, Qt::Key_Backspace);
        QCOMPARE(j.shown().size(), 5);
        QCOMPARE(j.note(), "");
    }

    // A folder in the journal's place cannot be read either. A journal made
    // while the dialog is open shows up.
    void missingOrUnreadableJournal() {
        Journal unreadable;
        QVERIFY(QDir(unreadable.folder.path()).mkdir("Operator.log"));
        Journal missing;
        for (Journal* j : {&unreadable, &missing}) {
            QVERIFY(j->open());
            QTest::keyClicks(j->find<QLineEdit>("txtFilter"), "fader");
            QVERIFY(j->shown().isEmpty());
            QCOMPARE(j->note(), "No journal yet");
        }
        QVERIFY(missing.append({entry(1)}));
        QTRY_COMPARE(missing.shown(), QStringList{entry(1)});
        QCOMPARE(missing.note(), "");
    }

    // At most 5000 lines shown; of a file, only whole lines of its last
    // 4 MiB are read, wherever the cut falls.
    void limits_data() {
        QTest::addColumn<int>("lineBytes");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("oldestShown");
        QTest::addColumn<QString>("note");
        QTest::newRow("6000 lines") << 0 << 6000 << 1001 << "Showing the latest 5000 of 6000 lines";
        QTest::newRow("cut inside a line") << 1000 << 5000 << 807 << "";
        QTest::newRow("cut after a line end") << 1024 << 5000 << 905 << "";
    }
    void limits() {
        QFETCH(int, lineBytes);
        QFETCH(int, written);
        QFETCH(int, oldestShown);
        QFETCH(QString, note);
        Journal j;
        QStringList lines = entries(1, written);
        for (QString& line : lines) line = (line + ' ').leftJustified(lineBytes - 3, '.');
        QVERIFY(j.append(lines) && j.open());
        QCOMPARE(j.shown().size(), written - oldestShown + 1);
        QVERIFY(j.shown().last().startsWith(entry(oldestShown) + ' '));
        QCOMPARE(j.note(), note);
    }

    // Closed, the dialog neither polls nor watches; shown again, it catches
    // up at once. Enter in the filter box is no reason to close.
    void followsOnlyWhileShown() {
        Journal j;
        QVERIFY(j.append({entry(1)}));
        j.dialog = std::make_unique<JournalDialog>(j.path());
        const QList<QTimer*> timers = j.dialog->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(timers.size(), 1);
        QVERIFY(!timers[0]->isActive());
        QVERIFY(j.open() && timers[0]->isActive());

        auto* filter = j.find<QLineEdit>("txtFilter");
        QTest::keyClick(filter, Qt::Key_Return);
        QVERIFY(j.dialog->isVisible());
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(!j.dialog->isVisible() && !timers[0]->isActive());
        const auto* watcher = j.dialog->findChild<QFileSystemWatcher*>();
        QVERIFY(watcher->files().isEmpty() && watcher->directories().isEmpty());

        QVERIFY(j.append({entry(2)}) && j.open() && timers[0]->isActive());
        QCOMPARE(j.shown(), entries(2, 1));
        QTest::mouseClick(j.find<QPushButton>("cmdClose"), Qt::LeftButton);
        QVERIFY(!j.dialog->isVisible() && !timers[0]->isActive());
    }
};

QTEST_MAIN(JournalDialogTest)
#include "JournalDialogTest.moc"
