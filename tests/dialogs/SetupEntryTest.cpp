// The entry boxes' character filters, and the count box adding and removing
// channel rows.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>

#include "SetupFixture.h"

namespace {

// Inserts without a key press, as dragging text onto the box does.
void Drop(QLineEdit* box, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPointF at(box->width() - 2, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

}  // namespace

class SetupEntryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Typed, pasted or dropped: every way in goes through the same filter.
    // Only the address box keeps dots.
    void enteredTextIsFiltered_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("route");
        for (const char* route : {"typed", "pasted", "dropped"}) {
            for (const char* box : {"txtChan(0)", "txtIPPort", "txtCount", "txtIPAddr"}) {
                QTest::addRow("%s, %s", box, route) << box << route;
            }
        }
    }
    void enteredTextIsFiltered() {
        QFETCH(QString, box);
        QFETCH(QString, route);
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0}));
        const QString entered = QStringLiteral("4a-5. 6\n+,7");
        const QString kept = box == "txtIPAddr" ? "945.67" : "94567";
        f.Retype(box, "9");
        QLineEdit* target = f.Find(box);
        QApplication::clipboard()->setText(entered);
        if (route == "typed") QTest::keyClicks(target, QString(entered).remove('\n'));
        if (route == "pasted") QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        if (route == "dropped") Drop(target, entered);
        QTRY_COMPARE(target->text(), kept);
        target->end(false);
        QTest::keyClick(target, Qt::Key_Backspace);
        QCOMPARE(target->text(), kept.chopped(1));
    }

    void countAppliesOnEnterOrLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("rows");
        QTest::newRow("7, Enter") << "7" << int(Qt::Key_Return) << 7;
        QTest::newRow("0, Enter") << "0" << int(Qt::Key_Enter) << 1;
        QTest::newRow("30, Enter") << "30" << int(Qt::Key_Return) << 20;
        QTest::newRow("7, Tab") << "7" << int(Qt::Key_Tab) << 7;
        QTest::newRow("2, Tab") << "2" << int(Qt::Key_Tab) << 2;
        QTest::newRow("empty, Tab") << "" << int(Qt::Key_Tab) << 1;
        QTest::newRow("7, no key") << "7" << 0 << 3;
    }
    void countAppliesOnEnterOrLeaving() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, rows);
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.Retype("txtCount", typed);
        if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(f.RowCount(), rows);
        QCOMPARE(f.Find("txtCount")->text(), typed);
        QCOMPARE(f.BelowRows(), SetupFixture::BelowRowsDesigned(rows));
        QVERIFY(f.dialog->isVisible());
        QVERIFY(f.calls.isEmpty());
    }

    // The click leaves the count box, which removes the very row clicked.
    void clickingARowThatTheCountRemoves() {
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9, 14, 19}));
        f.Retype("txtCount", "2");
        QLineEdit* doomed = f.Row(4);
        QTest::mouseClick(doomed, Qt::LeftButton);
        QCOMPARE(f.RowCount(), 2);
        QTest::qWait(10);
        QVERIFY(QApplication::focusWidget() != doomed);
        QVERIFY(f.dialog->isVisible());
    }

    // steps: a count to apply, or row=text typed into a row.
    void rowsAddedAgainShowChannelsTheDialogOpenedWith_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("3 to 5, typed text goes with its row")
            << 15 << QList<int>{0, 4, 9} << QStringList{"5", "2=77", "4=88", "2", "5"}
            << QStringList{"1", "5", "10", "1", "1"};
        QTest::newRow("5 to 2 to 3 to 5")
            << 15 << QList<int>{0, 4, 9, 14, 19} << QStringList{"2", "3", "5"}
            << QStringList{"1", "5", "10", "15", "20"};
        QTest::newRow("2 to 3 in stage 20")
            << 20 << QList<int>{7, 8} << QStringList{"3"} << QStringList{"7", "8", "0"};
        QTest::newRow("3 to 1 to 3 in stage 20")
            << 20 << QList<int>{7, 8, 9} << QStringList{"1", "3"} << QStringList{"7", "8", "9"};
    }
    void rowsAddedAgainShowChannelsTheDialogOpenedWith() {
        QFETCH(int, stage);
        QFETCH(QList<int>, channels);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, texts);
        SetupFixture f;
        QVERIFY(f.Open(int16_t(stage), channels));
        for (const QString& step : steps) {
            const QStringList typing = step.split(QLatin1Char('='));
            if (typing.size() == 2)
                f.Retype(QStringLiteral("txtChan(%1)").arg(typing[0]), typing[1]);
            if (typing.size() == 1) f.ApplyCount(step);
        }
        QCOMPARE(f.RowCount(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const QString caption = stage == 20 && i > 0 ? "Device ID%1" : "Channel %1";
            QCOMPARE(f.Find<QLabel>(QStringLiteral("lblChan(%1)").arg(i))->text(),
                     caption.arg(i + 1));
            QCOMPARE(f.Row(i)->text(), texts[i]);
            QCOMPARE(f.Row(i)->y(), Twips(2300 + 500 * i));
        }
        QVERIFY(f.log.entries.isEmpty());
    }
};

QTEST_MAIN(SetupEntryTest)
#include "SetupEntryTest.moc"
