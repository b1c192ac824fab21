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
    bool open(int16_t gainStage, const std::vector<int16_t>& channels) {
        state.GainStage = gainStage;
        state.FaderCount = int16_t(channels.size());
        state.Chan = channels;
        state.Link.assign(channels.size(), 0);
        dialog = std::make_unique<SetupDialog>(state, log);
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    template <typename Widget = QLineEdit>
    Widget* find(const QString& name) const {
        return dialog->findChild<Widget*>(name);
    }
    QLineEdit* row(int i) const { return find(QStringLiteral("txtChan(%1)").arg(i)); }
    // Each row's caption and text, "caption=text".
    QStringList rows() const {
        QStringList rows;
        for (int i = 0; row(i); ++i)
            rows << find<QLabel>(QStringLiteral("lblChan(%1)").arg(i))->text() + "=" +
                        row(i)->text();
        return rows;
    }
    void retype(const QString& name, const QString& text) const {
        QLineEdit* box = find(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    void applyCount(const QString& count) const {
        retype("txtCount", count);
        QTest::keyClick(find("txtCount"), Qt::Key_Return);
    }
    void click(const QString& name) const {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
    }
    // What "&Ok" handed back, or "none".
    QString chosen() const {
        const std::optional<SetupChoices>& c = dialog->choices();
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
        QVERIFY(f.open(GainStage::DspOutput, {0, 4, 4095}));
        QCOMPARE(f.rows(), QStringList({"Channel 1=1", "Channel 2=5", "Channel 3=4096"}));
        QCOMPARE(f.find("txtCount")->text(), "3");
        QVERIFY(f.find<QRadioButton>("optType(15)")->isChecked());
        QCOMPARE(QApplication::focusWidget(), f.row(0));
        f.retype("txtChan(2)", "77");
        f.applyCount("2");
        f.applyCount("4");
        QCOMPARE(f.rows(),
                 QStringList({"Channel 1=1", "Channel 2=5", "Channel 3=4096", "Channel 4=1"}));

        Setup device;
        QVERIFY(device.open(GainStage::DeviceId, {0, 4, 32767}));
        device.applyCount("1");
        device.applyCount("4");
        QCOMPARE(device.rows(),
                 QStringList({"Channel 1=0", "Device ID2=4", "Device ID3=32767", "Device ID4=0"}));
        QVERIFY(f.log.entries.isEmpty() && device.log.entries.isEmpty());
    }

    void gainStageWithoutOptionIsLoggedAndFillsNothing() {
        Setup f;
        QVERIFY(f.open(7, {0, 4, 9}));
        QCOMPARE(f.rows(), QStringList({"Channel 1=", "Channel 2=5", "Channel 3=10"}));
        QVERIFY(f.find("txtCount")->text().isEmpty() && f.find("txtIPPort")->text().isEmpty());
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
            QVERIFY(f.open(GainStage::DspOutput, {0}));
            f.retype(box, "9");
            QLineEdit* edit = f.find(box);
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
        QVERIFY(f.open(GainStage::DspOutput, {0, 4, 9}));
        f.retype("txtCount", typed);
        if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(f.rows().size(), rows);
        // The boxes below the rows move down with them, and stay inside.
        QVERIFY(f.row(rows - 1)->geometry().bottom() < f.find("txtIPPort")->y());
        QVERIFY(f.find<QWidget>("cmdOk")->geometry().bottom() < f.dialog->height());
        QVERIFY(f.dialog->isVisible() && !f.dialog->choices());
    }

    // The click leaves the count box, which removes the very row clicked.
    void clickingARowThatTheCountRemoves() {
        Setup f;
        QVERIFY(f.open(GainStage::DspOutput, {0, 4, 9, 14, 19}));
        f.retype("txtCount", "2");
        QLineEdit* doomed = f.row(4);
        QTest::mouseClick(doomed, Qt::LeftButton);
        QCOMPARE(f.rows().size(), 2);
        QTest::qWait(10);
        QVERIFY(QApplication::focusWidget() != doomed);
        QVERIFY(f.dialog->isVisible());
    }

    // Alt+O leaves the focus in the count box: the count typed there must
    // still apply.
    void okHandsBackEveryChoiceAndCloses() {
        Setup f;
        QVERIFY(f.open(GainStage::DspOutput, {0, 4, 9}));
        f.click("optType(3)");
        f.applyCount("5");
        f.retype("txtChan(3)", "12");
        f.retype("txtIPPort", "4000");
        f.retype("txtCount", "6");
        QTest::keyClick(f.find("txtCount"), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(f.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(f.chosen(), "6 3 std::vector(0, 4, 9, 11, 0, 0) 127.0.0.1:4000");
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
            QVERIFY(f.open(GainStage::AnalogOutput, {3}));
            f.click(QStringLiteral("optType(%1)").arg(stage));
            f.retype("txtChan(0)", typed);
            f.click("cmdOk");
            QCOMPARE(f.dialog->choices()->gainStage, int16_t(stage));
            QCOMPARE(f.dialog->choices()->channels, std::vector<int16_t>{int16_t(stored)});
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
        QVERIFY(f.open(GainStage::AnalogOutput, {0, 4, 9}));
        f.click("optType(" + typed.section('|', 0, 0) + ")");
        f.retype("txtIPAddr", "1.2.3.4");
        f.retype("txtIPPort", typed.section('|', 3));
        f.retype("txtChan(1)", typed.section('|', 2, 2));
        f.retype("txtCount", typed.section('|', 1, 1));
        f.click(button);
        QCOMPARE(f.chosen(), "none");
        QCOMPARE(f.dialog->isVisible(), button == "cmdOk");
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(f.log.entries,
                 logged ? LogEntries({{"Error recording changes", "Setup Error"}}) : LogEntries());
    }

    // Enter and Escape neither accept nor cancel, wherever the focus is.
    void enterAndEscapeDoNothing() {
        Setup f;
        QVERIFY(f.open(GainStage::DspOutput, {0}));
        for (const char* focus : {"txtChan(0)", "txtCount", "cmdOk", "cmdCancel"}) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QWidget* target = f.find<QWidget>(focus);
                target->setFocus();
                QTest::keyClick(target, key);
                QVERIFY2(f.dialog->isVisible() && f.dialog->result() == 0, focus);
            }
        }
        QVERIFY(!f.dialog->choices());
    }
};

QTEST_MAIN(SetupDialogTest)
#include "SetupDialogTest.moc"
