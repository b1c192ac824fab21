// The setup dialog, driven through its real widgets: what it opens with, the
// entry boxes' filters, the count box adding and removing channel rows, and
// the choices "&Ok" hands back or refuses.
#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "PanelState.h"
#include "Recorders.h"
#include "SetupDialog.h"

namespace {

using LogEntries = QList<QPair<QString, QString>>;

// A setup dialog over a state chosen by the test.
struct Setup {
    // Shown and active, so that focus moves as an operator's would.
    bool Open(int16_t gainStage, const std::vector<int16_t>& channels) {
        state.GainStage = gainStage;
        state.FaderCount = int16_t(channels.size());
        state.Chan = channels;
        state.Link.assign(channels.size(), 0);
        dialog = std::make_unique<SetupDialog>(state, log);
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    template <typename Widget = QLineEdit>
    Widget* Find(const QString& name) const {
        return dialog->findChild<Widget*>(name);
    }
    QLineEdit* Row(int i) const { return Find(QStringLiteral("txtChan(%1)").arg(i)); }
    // Each row's caption and text, "caption=text".
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; Row(i); ++i)
            rows << Find<QLabel>(QStringLiteral("lblChan(%1)").arg(i))->text() + "=" +
                        Row(i)->text();
        return rows;
    }
    void Retype(const QString& name, const QString& text) const {
        QLineEdit* box = Find(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    void ApplyCount(const QString& count) const {
        Retype("txtCount", count);
        QTest::keyClick(Find("txtCount"), Qt::Key_Return);
    }
    void Click(const QString& name) const {
        QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton);
    }
    // What "&Ok" handed back, or "none".
    QString Chosen() const {
        const std::optional<SetupChoices>& c = dialog->Choices();
        if (!c) return QStringLiteral("none");
        QString text;
        QDebug(&text).noquote() << c->count << c->gainStage << c->channels
                                << c->address + ":" + QString::number(c->port);
        return text.trimmed();
    }

    PanelState state;
    RecordingLog log;
    std::unique_ptr<SetupDialog> dialog;
};

}  // namespace

class SetupDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Channels show numbered from 1, device IDs as stored; focus starts in
    // the first row. Rows removed and added again show the channels the
    // dialog opened with, whatever was typed into them meanwhile.
    void opensWithOneRowPerFader() {
        Setup f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 4095}));
        QCOMPARE(f.Rows(), QStringList({"Channel 1=1", "Channel 2=5", "Channel 3=4096"}));
        QCOMPARE(f.Find("txtCount")->text(), "3");
        QVERIFY(f.Find<QRadioButton>("optType(15)")->isChecked());
        QCOMPARE(QApplication::focusWidget(), f.Row(0));
        f.Retype("txtChan(2)", "77");
        f.ApplyCount("2");
        f.ApplyCount("4");
        QCOMPARE(f.Rows(),
                 QStringList({"Channel 1=1", "Channel 2=5", "Channel 3=4096", "Channel 4=1"}));

        Setup device;
        QVERIFY(device.Open(GainStage::DeviceId, {0, 4, 32767}));
        device.ApplyCount("1");
        device.ApplyCount("4");
        QCOMPARE(device.Rows(),
                 QStringList({"Channel 1=0", "Device ID2=4", "Device ID3=32767", "Device ID4=0"}));
        QVERIFY(f.log.entries.isEmpty() && device.log.entries.isEmpty());
    }

    void gainStageWithoutOptionIsLoggedAndFillsNothing() {
        Setup f;
        QVERIFY(f.Open(7, {0, 4, 9}));
        QCOMPARE(f.Rows(), QStringList({"Channel 1=", "Channel 2=5", "Channel 3=10"}));
        QVERIFY(f.Find("txtCount")->text().isEmpty() && f.Find("txtIPPort")->text().isEmpty());
        QCOMPARE(f.log.entries, LogEntries({{"Error displaying current values", "Setup Error"}}));
    }

    // The paste and cut keys are refused outright; typed, or pasted from the
    // box's own menu, text goes through the same filter. Only the address
    // box keeps dots.
    void enteredTextIsFiltered() {
        const QString entered = QStringLiteral("4a-5. 6+,7");
        QApplication::clipboard()->setText(entered);
        for (const QString box : {"txtChan(0)", "txtIPPort", "txtCount", "txtIPAddr"}) {
            Setup f;
            QVERIFY(f.Open(GainStage::DspOutput, {0}));
            f.Retype(box, "9");
            QLineEdit* edit = f.Find(box);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
            QCOMPARE(edit->text(), "9");
            edit->end(false);
            QTest::keyClicks(edit, entered);
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                      edit->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(edit, &menuKey);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions())
                if (action->text().remove('&').startsWith("Paste")) action->trigger();
            menu->close();
            QTRY_COMPARE(edit->text(), box == "txtIPAddr" ? "945.6745.67" : "945674567");
        }
    }

    // Applied on Enter or on leaving the box, limited to 1..20 rows.
    void countAddsAndRemovesRows_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("rows");
        QTest::newRow("7, Enter") << "7" << int(Qt::Key_Return) << 7;
        QTest::newRow("0, keypad Enter") << "0" << int(Qt::Key_Enter) << 1;
        QTest::newRow("30, Enter") << "30" << int(Qt::Key_Return) << 20;
        QTest::newRow("2, Tab") << "2" << int(Qt::Key_Tab) << 2;
        QTest::newRow("7, not yet applied") << "7" << 0 << 3;
    }
    void countAddsAndRemovesRows() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, rows);
        Setup f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.Retype("txtCount", typed);
        if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(f.Rows().size(), rows);
        // The boxes below the rows move down with them, and stay inside.
        QVERIFY(f.Row(rows - 1)->geometry().bottom() < f.Find("txtIPPort")->y());
        QVERIFY(f.Find<QWidget>("cmdOk")->geometry().bottom() < f.dialog->height());
        QVERIFY(f.dialog->isVisible() && !f.dialog->Choices());
    }

    // The click leaves the count box, which removes the very row clicked.
    void clickingARowThatTheCountRemoves() {
        Setup f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9, 14, 19}));
        f.Retype("txtCount", "2");
        QLineEdit* doomed = f.Row(4);
        QTest::mouseClick(doomed, Qt::LeftButton);
        QCOMPARE(f.Rows().size(), 2);
        QTest::qWait(10);
        QVERIFY(QApplication::focusWidget() != doomed);
        QVERIFY(f.dialog->isVisible());
    }

    // Alt+O leaves the focus in the count box: the count typed there must
    // still apply.
    void okHandsBackEveryChoiceAndCloses() {
        Setup f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.Click("optType(3)");
        f.ApplyCount("5");
        f.Retype("txtChan(3)", "12");
        f.Retype("txtIPPort", "4000");
        f.Retype("txtCount", "6");
        QTest::keyClick(f.Find("txtCount"), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(f.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(f.Chosen(), "6 3 std::vector(0, 4, 9, 11, 0, 0) 127.0.0.1:4000");
        QCOMPARE(f.state.IPPort, 1250);  // the dialog only reads the settings
        QVERIFY(!f.dialog->isVisible() && f.log.entries.isEmpty());
    }

    // Channels are typed from 1, up to 4096, else the first is chosen;
    // device IDs are chosen as typed.
    void channelByGainStage() {
        const QList<std::tuple<int, QString, int>> rows{
            {15, "1", 0}, {15, "4096", 4095}, {15, "4097", 0}, {1, "0", 0}, {20, "32767", 32767}};
        for (const auto& [stage, typed, stored] : rows) {
            Setup f;
            QVERIFY(f.Open(GainStage::AnalogOutput, {3}));
            f.Click(QStringLiteral("optType(%1)").arg(stage));
            f.Retype("txtChan(0)", typed);
            f.Click("cmdOk");
            QCOMPARE(f.dialog->Choices()->gainStage, int16_t(stage));
            QCOMPARE(f.dialog->Choices()->channels, std::vector<int16_t>{int16_t(stored)});
        }
    }

    // A refused "&Ok" leaves the dialog open; "&Cancel" closes it. Neither
    // hands back a choice, however much was typed.
    void nothingChanges_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");  // gain stage|count|channel 2|port
        QTest::addColumn<bool>("logged");
        const QString ok = "cmdOk";
        QTest::newRow("channel beyond 16 bits, DSP output") << ok << "15|2|40000|1250" << true;
        QTest::newRow("device ID beyond 16 bits") << ok << "20|2|40000|1250" << true;
        QTest::newRow("just beyond 16 bits, input") << ok << "1|2|32768|1250" << true;
        QTest::newRow("port beyond 32 bits") << ok << "20|2|5|4294967296" << true;
        QTest::newRow("empty count") << ok << "20||5|1250" << false;
        QTest::newRow("count 0") << ok << "20|0|5|1250" << false;
        QTest::newRow("cancel") << QString("cmdCancel") << "20|6|44|99" << false;
    }
    void nothingChanges() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(bool, logged);
        Setup f;
        QVERIFY(f.Open(GainStage::AnalogOutput, {0, 4, 9}));
        f.Click("optType(" + typed.section('|', 0, 0) + ")");
        f.Retype("txtIPAddr", "1.2.3.4");
        f.Retype("txtIPPort", typed.section('|', 3));
        f.Retype("txtChan(1)", typed.section('|', 2, 2));
        f.Retype("txtCount", typed.section('|', 1, 1));
        f.Click(button);
        QCOMPARE(f.Chosen(), "none");
        QCOMPARE(f.dialog->isVisible(), button == "cmdOk");
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(f.log.entries,
                 logged ? LogEntries({{"Error recording changes", "Setup Error"}}) : LogEntries());
    }

    // Enter and Escape neither accept nor cancel, wherever the focus is.
    void enterAndEscapeDoNothing() {
        Setup f;
        QVERIFY(f.Open(GainStage::DspOutput, {0}));
        for (const char* focus : {"txtChan(0)", "txtCount", "cmdOk", "cmdCancel"}) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QWidget* target = f.Find<QWidget>(focus);
                target->setFocus();
                QTest::keyClick(target, key);
                QVERIFY2(f.dialog->isVisible() && f.dialog->result() == 0, focus);
            }
        }
        QVERIFY(!f.dialog->Choices());
    }
};

QTEST_MAIN(SetupDialogTest)
#include "SetupDialogTest.moc"
