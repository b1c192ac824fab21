// The entry boxes' character filters, and the count box adding and removing
// channel rows.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include "SetupFixture.h"

namespace {

// Pastes through the box's own context menu, as an operator would.
void PasteFromMenu(QLineEdit* box) {
    QTimer::singleShot(0, box, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLatin1String("&Paste"))) action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &event);
}

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
    void typedCharactersAreFiltered_data();
    void typedCharactersAreFiltered();
    void pastedTextIsFiltered_data();
    void pastedTextIsFiltered();
    void countAppliesOnEnterOrLeaving_data();
    void countAppliesOnEnterOrLeaving();
    void clickingARowThatTheCountRemoves();
    void rowsAddedAgainShowChannelsTheDialogOpenedWith_data();
    void rowsAddedAgainShowChannelsTheDialogOpenedWith();
};

void SetupEntryTest::typedCharactersAreFiltered_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("kept");
    QTest::newRow("channel") << "txtChan(0)"
                             << "12034";
    QTest::newRow("port") << "txtIPPort"
                          << "12034";
    QTest::newRow("count") << "txtCount"
                           << "12034";
    QTest::newRow("address") << "txtIPAddr"
                             << "12.034";
}

void SetupEntryTest::typedCharactersAreFiltered() {
    QFETCH(QString, box);
    QFETCH(QString, kept);
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0});
    QVERIFY(f.Show());
    f.Retype(box, QStringLiteral("1a2.-0 x3+,4"));
    QCOMPARE(f.Find(box)->text(), kept);
    QTest::keyClick(f.Find(box), Qt::Key_Backspace);
    QCOMPARE(f.Find(box)->text(), kept.chopped(1));
}

void SetupEntryTest::pastedTextIsFiltered_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("kept");
    for (const char* route : {"shortcut", "menu", "drop"}) {
        for (const char* box : {"txtChan(0)", "txtIPPort", "txtCount"}) {
            QTest::addRow("%s, %s", box, route) << box << route << "9456";
        }
        QTest::addRow("txtIPAddr, %s", route) << "txtIPAddr" << route << "945.6";
    }
}

void SetupEntryTest::pastedTextIsFiltered() {
    QFETCH(QString, box);
    QFETCH(QString, route);
    QFETCH(QString, kept);
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0});
    QVERIFY(f.Show());
    f.Retype(box, QStringLiteral("9"));
    const QString pasted = QStringLiteral("4a-5. 6\n");
    QApplication::clipboard()->setText(pasted);
    QLineEdit* target = f.Find(box);
    if (route == QLatin1String("shortcut")) {
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    } else if (route == QLatin1String("menu")) {
        PasteFromMenu(target);
    } else {
        Drop(target, pasted);
    }
    QTRY_COMPARE(target->text(), kept);
}

void SetupEntryTest::countAppliesOnEnterOrLeaving_data() {
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

void SetupEntryTest::countAppliesOnEnterOrLeaving() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, rows);
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9});
    QVERIFY(f.Show());
    f.Retype(QStringLiteral("txtCount"), typed);
    if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(f.RowCount(), rows);
    QCOMPARE(f.Find("txtCount")->text(), typed);
    QCOMPARE(f.Find("txtIPAddr")->y(), Twips(2800 + 500 * rows));
    QCOMPARE(f.dialog->frameGeometry().height(), Twips(4740 + 500 * rows));
    QVERIFY(f.dialog->isVisible());
    QVERIFY(f.calls.isEmpty());
}

void SetupEntryTest::clickingARowThatTheCountRemoves() {
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9, 14, 19});
    QVERIFY(f.Show());
    f.Retype(QStringLiteral("txtCount"), QStringLiteral("2"));
    QLineEdit* doomed = f.Row(4);
    QTest::mouseClick(doomed, Qt::LeftButton);
    QCOMPARE(f.RowCount(), 2);
    QTest::qWait(10);
    QVERIFY(QApplication::focusWidget() != doomed);
    QVERIFY(f.dialog->isVisible());
}

void SetupEntryTest::rowsAddedAgainShowChannelsTheDialogOpenedWith_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<QStringList>("steps");  // a count, or row=text typed into a row
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("texts");
    const QStringList five{"Channel 1", "Channel 2", "Channel 3", "Channel 4", "Channel 5"};
    QTest::newRow("3 to 5 in stage 15") << 15 << QList<int>{0, 4, 9} << QStringList{"5"} << five
                                        << QStringList{"1", "5", "10", "1", "1"};
    QTest::newRow("typed text goes with its row")
        << 15 << QList<int>{0, 4, 9} << QStringList{"5", "2=77", "4=88", "2", "5"} << five
        << QStringList{"1", "5", "10", "1", "1"};
    QTest::newRow("5 to 2 to 3 to 5")
        << 15 << QList<int>{0, 4, 9, 14, 19} << QStringList{"2", "3", "5"} << five
        << QStringList{"1", "5", "10", "15", "20"};
    QTest::newRow("2 to 3 in stage 20")
        << 20 << QList<int>{7, 8} << QStringList{"3"}
        << QStringList{"Channel 1", "Device ID2", "Device ID3"} << QStringList{"7", "8", "0"};
    QTest::newRow("3 to 1 to 3 in stage 20")
        << 20 << QList<int>{7, 8, 9} << QStringList{"1", "3"}
        << QStringList{"Channel 1", "Device ID2", "Device ID3"} << QStringList{"7", "8", "9"};
}

void SetupEntryTest::rowsAddedAgainShowChannelsTheDialogOpenedWith() {
    QFETCH(int, stage);
    QFETCH(QList<int>, channels);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, texts);
    SetupFixture f;
    f.Open(int16_t(stage), channels);
    QVERIFY(f.Show());
    for (const QString& step : steps) {
        const QStringList typing = step.split(QLatin1Char('='));
        if (typing.size() == 2) {
            f.Retype(QStringLiteral("txtChan(%1)").arg(typing[0]), typing[1]);
            continue;
        }
        f.Retype(QStringLiteral("txtCount"), step);
        QTest::keyClick(f.Find("txtCount"), Qt::Key_Return);
    }
    QCOMPARE(f.RowCount(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(f.Find<QLabel>(QStringLiteral("lblChan(%1)").arg(i))->text(), captions[i]);
        QCOMPARE(f.Row(i)->text(), texts[i]);
        QCOMPARE(f.Row(i)->y(), Twips(2300 + 500 * i));
    }
    QVERIFY(f.log.entries.isEmpty());
}

QTEST_MAIN(SetupEntryTest)
#include "SetupEntryTest.moc"
