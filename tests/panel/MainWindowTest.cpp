// The main window with its fader bank and status bar, driven through its
// real widgets: gain read-outs, fader moves, Home/End, the 0db button, a
// screen reader setting the value, the deferred redraw, labels and accessible
// names, the link's state in words, the setup round trip, the connect item
// and shutdown.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <stdexcept>

#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "GainReadout.h"
#include "LinkStatusBar.h"
#include "PanelFixture.h"

namespace {

// Faders 1 and 2 on channels 5 and 9 (0-based) at the DSP output stage, with
// tmrGain stopped so that only the test moves them.
struct Bench : PanelFixture {
    Bench() {
        writeIni(15, {{6, 0}, {10, 0}});
        open().gain().tmrGain().stop();
    }
    FaderSlider& slider(int i) { return *sliderOf(window->bank().strip(i)); }
    // Each send as "stage channel=code extra", a stereo one marked.
    QStringList sent() const {
        QStringList sent;
        for (const auto& c : link->gains)
            sent << QString::asprintf("%s%d %d=%d %d", c.stereo ? "stereo " : "", c.stage,
                                      c.channel, c.code, c.extraOrCount);
        return sent;
    }
};

// At 127.0.0.1:1250; a retrying one lost the link at 17:05:09 and tries again in 16 s.
LinkStatus status(LinkPhase phase, int sources = 0, int destinations = 0) {
    return {phase, "127.0.0.1", 1250, sources, destinations, QTime(17, 5, 9), true, 16};
}

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

// Whether a read-out says, to the eye and to a screen reader, that the
// switcher has not confirmed it.
bool unconfirmed(const FaderStrip& strip) {
    const bool dimmed = readoutOf(strip)->palette().color(QPalette::WindowText) !=
                        strip.palette().color(QPalette::WindowText);
    return dimmed && accessibleText(sliderOf(strip), QAccessible::Description) ==
                         "Not confirmed by the switcher";
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readoutAtItsBoundaries() {
        const QList<QPair<int, QString>> rows{{1264, "Gain (+24db)"}, {1029, "Gain (+0.5db)"},
                                              {1024, "Gain (0db)"},   {1023, "Gain (-0.1db)"},
                                              {25, "Gain (-99.9db)"}, {24, "Gain (Off)"}};
        for (const auto& [code, text] : rows) QCOMPARE(gainReadoutText(int16_t(code)), text);
        QLocale::setDefault(QLocale(QLocale::German));  // its separator, and no grouping
        QCOMPARE(gainReadoutText(32767), QStringLiteral("Gain (+3174,3db)"));
        QLocale::setDefault(QLocale::c());
    }

    void storedGainByStage() {
        PanelState state;
        state.Chan = {9};
        state.OutputGains[9] = {1001, 1002};
        state.InputGains[9] = {1004, 1003};
        for (const auto& [stage, gain] :
             QList<QPair<int16_t, int16_t>>{{15, 1001}, {3, 1002}, {1, 1003}, {20, 0}}) {
            state.GainStage = stage;
            QCOMPARE(storedGain(state, 0), gain);
        }
        state.GainStage = GainStage::DspOutput;
        state.Chan = {-1};  // as a bad file may say: must fail, not wrap round
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, storedGain(state, 0));
    }

    void operatorMovesSend_data() {
        QTest::addColumn<int>("key");  // 0: the mouse clicks 0db
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("stereo");
        QTest::newRow("arrow up moves up") << int(Qt::Key_Up) << 1001 << false;
        QTest::newRow("home: top") << int(Qt::Key_Home) << 1264 << false;
        QTest::newRow("end: bottom") << int(Qt::Key_End) << 24 << false;
        QTest::newRow("0db button") << 0 << 1024 << false;
        QTest::newRow("stereo: two channels") << int(Qt::Key_Up) << 1001 << true;
    }
    void operatorMovesSend() {
        QFETCH(int, key);
        QFETCH(int, code);
        QFETCH(bool, stereo);
        Bench bench;
        QVERIFY(bench.show());
        const FaderStrip& strip = bench.window->bank().strip(stereo ? 1 : 0);
        stereoBoxOf(strip)->setChecked(stereo);
        sliderOf(strip)->setValue(-1000);
        if (key) QTest::keyClick(sliderOf(strip), Qt::Key(key));
        if (!key) QTest::mouseClick(zeroButtonOf(strip), Qt::LeftButton);
        const QString sent = stereo ? "stereo 15 9=%1 2" : "15 5=%1 16383";
        QCOMPARE(bench.sent(), QStringList{sent.arg(code)});  // once, not also on the way
        QCOMPARE(strip.readoutText(), gainReadoutText(int16_t(code)));
        QVERIFY(bench.window->gain().tmrGain().isActive());  // holds off redraws under the hand
        if (!key) QCOMPARE(QApplication::focusWidget(), sliderOf(strip));  // taken back
    }

    // The keyboard starts on fader 1's Stereo box and walks each strip in
    // the order Stereo, 0db, fader, then on to the next strip; Shift+Tab
    // walks back. So Tab, Space right after start-up presses the first 0db.
    void firstFocusAndTabOrder() {
        Bench bench;
        bench.window->show();
        QVERIFY(QTest::qWaitForWindowActive(bench.window.get()));
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            return QApplication::focusWidget();
        };
        const FaderStrip& first = bench.window->bank().strip(0);
        const FaderStrip& second = bench.window->bank().strip(1);
        QCOMPARE(QApplication::focusWidget(), stereoBoxOf(first));
        const QList<QWidget*> forward{zeroButtonOf(first), sliderOf(first), stereoBoxOf(second),
                                      zeroButtonOf(second), sliderOf(second)};
        for (QWidget* next : forward) QCOMPARE(press(Qt::Key_Tab), next);
        for (qsizetype i = forward.size() - 2; i >= 0; --i)
            QCOMPARE(press(Qt::Key_Tab, Qt::ShiftModifier), forward[i]);
        QCOMPARE(press(Qt::Key_Tab, Qt::ShiftModifier), stereoBoxOf(first));

        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        QCOMPARE(bench.sent(), QStringList{"15 5=1024 16383"});
        QVERIFY(!stereoBoxOf(first)->isChecked());
    }

    // A held key repeats its press and release; Home acts once.
    void heldHomeSendsOnce() {
        Bench bench;
        QVERIFY(bench.show());
        FaderSlider& fader = bench.slider(0);
        fader.setFocus();
        for (int repeat = 0; repeat < 5; ++repeat) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier, QString(), repeat > 0);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Home, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&fader, &press);
            QApplication::sendEvent(&fader, &release);
        }
        QVERIFY(bench.link->gains.isEmpty());
        QTest::keyRelease(&fader, Qt::Key_Home);
        QCOMPARE(bench.sent(), QStringList{"15 5=1264 16383"});
    }

    void panelsOwnAndUnchangedMovesAreSilent() {
        Bench bench;
        bench.window->state().OutputGains[5].DspOutput = 1001;
        bench.slider(0).setValue(-1000);
        QTest::keyClick(&bench.slider(0), Qt::Key_Up);  // onto the stored gain
        bench.window->state().UpdatingFaders = true;
        QTest::keyClick(&bench.slider(0), Qt::Key_Up);
        QVERIFY(bench.link->gains.isEmpty());
        QVERIFY(!bench.window->gain().tmrGain().isActive());
    }

    // The value reads as the read-out does; setting it moves the fader and
    // sends, as the operator's own move does; a value that is no number
    // moves nothing.
    void screenReaderSetsTheValue() {
        Bench bench;
        QAccessibleInterface* fader = QAccessible::queryAccessibleInterface(&bench.slider(1));
        QAccessibleValueInterface* value = fader->valueInterface();
        QVERIFY(value);
        for (const auto& [decibels, code] : {qMakePair(-2.4, 1000), qMakePair(-100.0, 24)}) {
            value->setCurrentValue(decibels);
            QCOMPARE(bench.slider(1).value(), -code);
            QCOMPARE(bench.sent().last(), QStringLiteral("15 9=%1 16383").arg(code));
            QCOMPARE(fader->text(QAccessible::Value), gainReadoutText(int16_t(code)));
            QCOMPARE(value->currentValue().toDouble(), decibels);
        }
        value->setCurrentValue(QStringLiteral("loud"));
        QCOMPARE(bench.sent().size(), 2);
    }

    // One fader outside the tables must not silence the others for good.
    void updateGainFailureLeavesMovesWorking() {
        Bench bench;
        bench.window->state().OutputGains[5].DspOutput = 1100;
        bench.window->state().Chan = {5, 1537};
        bench.window->gain().UpdateGain();
        QCOMPARE(bench.log.entries,
                 (QList<QPair<QString, QString>>{{"Error updating gain", "Display Error"}}));
        QCOMPARE(bench.slider(0).value(), -1100);
        QTest::keyClick(&bench.slider(0), Qt::Key_Up);
        QCOMPARE(bench.sent(), QStringList{"15 5=1101 16383"});
    }

    void refreshWaitsForRunningTimer() {
        Bench bench;
        bench.slider(0).setValue(-1000);
        QTest::keyClick(&bench.slider(0), Qt::Key_Up);  // arms tmrGain
        bench.window->state().OutputGains[5].DspOutput = 900;
        bench.window->gain().requestRefresh();
        QCOMPARE(bench.slider(0).value(), -1001);  // not under the operator's hand
        QTRY_COMPARE_WITH_TIMEOUT(bench.slider(0).value(), -900, 5000);
        bench.window->state().OutputGains[5].DspOutput = 950;
        bench.window->gain().requestRefresh();  // idle: at once
        QCOMPARE(bench.slider(0).value(), -950);
    }

    void labelsByGainStage_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("label");
        QTest::newRow("input") << 1 << "MIC 5";
        QTest::newRow("DSP output") << 15 << "PGM L";
        QTest::newRow("device ID: never stereo") << 20 << "Device ID 4";
        QTest::newRow("other stage changes nothing") << 7 << "Ch. 1";
    }
    void labelsByGainStage() {
        QFETCH(int, stage);
        QFETCH(QString, label);
        PanelFixture panel;
        PanelState& state = panel.open().state();
        state.SourceAlpha = {{}, {}, {}, {}, QStringLiteral("MIC 5")};
        state.DestinationAlpha[4] = QStringLiteral("PGM L");
        state.SourceLinks[4] = 1;
        state.DestinationLinks[4] = -1;
        state.GainStage = int16_t(stage);
        state.Chan = {4};
        FaderStrip& strip = panel.window->bank().strip(0);
        stereoBoxOf(strip)->setChecked(true);
        panel.window->LabelFaders();
        QCOMPARE(strip.channelName(), label);
        QCOMPARE(stereoBoxOf(strip)->isChecked() && stereoBoxOf(strip)->isVisibleTo(&strip),
                 stage != 20);
        QCOMPARE(accessibleText(sliderOf(strip), QAccessible::Name), "Fader 1, " + label);
    }

    void missingNameStopsLabelling() {
        PanelFixture panel;
        panel.writeIni(1, {{2, 0}, {6, 0}, {1, 0}});
        MainWindow& window = panel.open();
        window.state().SourceAlpha = {QStringLiteral("MIC 1"), QStringLiteral("MIC 2")};
        window.LabelFaders();  // fader 2's channel 5 has no name yet
        QCOMPARE(panel.log.entries,
                 (QList<QPair<QString, QString>>{{"Error Labeling Faders", "Display Error"}}));
        QCOMPARE(window.bank().strip(0).channelName(), "MIC 2");
    }

    // One fader wide the short form shows unclipped, cut with an ellipsis
    // if even that is too long; tooltip and screen reader get the whole
    // sentence; the window never widens. Read-outs are marked unless live,
    // but never disabled: the operator may still move the fader.
    void statusBarInWords() {
        LinkStatus failed = status(LinkPhase::RetryAttempt), far = status(LinkPhase::Connecting);
        failed.linkWasUp = false;
        far.address = QStringLiteral("192.168.100.200.300.400.5");  // the file's 25 at most
        far.port = 65535;
        // Each row: the status, then its sentence and its short form after a '|'.
        const QList<QPair<LinkStatus, QString>> rows{
            {status(LinkPhase::Connecting),
             "Connecting to 127.0.0.1:1250|Connecting to\n127.0.0.1:1250"},
            {status(LinkPhase::Live, 32, 64),
             "Live: 32 sources, 64 destinations|Live: 32 sources\n64 destinations"},
            {status(LinkPhase::Live, 1, 1),
             "Live: 1 source, 1 destination|Live: 1 source\n1 destination"},
            {status(LinkPhase::RetryWait),
             "Connection lost at 17:05:09, retrying in 16 s|Lost at 17:05:09\nretrying in 16 s"},
            {failed,
             "Connection failed at 17:05:09, retrying now|Failed at 17:05:09\nretrying now"}};
        PanelFixture panel;
        MainWindow& window = panel.open();
        QVERIFY(panel.show());
        const int width = window.width();
        auto* label = window.linkBar().findChild<QLabel*>();
        const FaderStrip& strip = window.bank().strip(0);
        QVERIFY(unconfirmed(strip));  // before the switcher speaks
        for (const auto& [status, texts] : rows) {
            const QString full = texts.section('|', 0, 0), brief = texts.section('|', 1);
            window.showLinkStatus(status);
            QCOMPARE(label->text(), brief);
            QCOMPARE(label->toolTip() + label->accessibleName(), full + full);
            QCOMPARE(unconfirmed(strip), status.phase != LinkPhase::Live);
            for (const QString& line : brief.split('\n'))
                QVERIFY(label->fontMetrics().horizontalAdvance(line) <=
                        label->contentsRect().width());
        }
        window.showLinkStatus(far);
        QVERIFY2(label->text().count('\n') == 1 && label->text().endsWith(QChar(0x2026)),
                 qPrintable(label->text()));
        QCOMPARE(window.width(), width);
        QVERIFY(sliderOf(strip)->isEnabled() && zeroButtonOf(strip)->isEnabled());

        PanelFixture wide;
        wide.writeIni(15, faders(4));
        wide.open().showLinkStatus(status(LinkPhase::RetryWait));
        QVERIFY(wide.show());
        QCOMPARE(wide.window->linkBar().shownText(), rows[3].second.section('|', 0, 0));
    }

    void setupResizesRelabelsAndRedraws_data() {
        QTest::addColumn<int>("newCount");
        QTest::newRow("grow") << 3;
        QTest::newRow("shrink to one") << 1;
    }
    void setupResizesRelabelsAndRedraws() {
        QFETCH(int, newCount);
        PanelFixture panel;
        panel.writeIni(15, {{1, 1}, {2, 0}});
        MainWindow& window = panel.open();
        QVERIFY(panel.show());
        PanelState& state = window.state();
        stereoBoxOf(window.bank().strip(0))->setChecked(false);  // the operator clears it
        window.showLinkStatus(status(LinkPhase::Live));
        onNextModal([&](QWidget* modal) {
            QCOMPARE(state.Link, std::vector<int16_t>({0, 0}));  // the box as the operator left it
            state.FaderCount = int16_t(newCount);                // as if accepted
            state.Chan.assign(size_t(newCount), 0);
            state.DestinationAlpha[0] = QStringLiteral("PGM L");
            state.OutputGains[0].DspOutput = 1029;
            qobject_cast<QDialog*>(modal)->reject();
        });
        panel.menuItem(0, 0)->trigger();
        QCOMPARE(window.bank().stripCount(), newCount);
        // Every strip inside the window, above the status bar, no empty slot after the last.
        const FaderStrip& last = window.bank().strip(newCount - 1);  // new strips too
        const QPoint corner = last.mapTo(&window, QPoint(last.width(), last.height()));
        QVERIFY(corner.x() <= window.width() && window.width() - corner.x() < last.width());
        QVERIFY(corner.y() <= window.linkBar().y());
        QCOMPARE(last.channelName() + last.readoutText(), "PGM LGain (+0.5db)");
        QVERIFY(last.isConfirmed());
    }

    // The dialog's "&Ok" choices are stored and saved; the link moves only
    // when the address or the port typed differs from the one in force.
    void setupOkRecordsChoices() {
        const QList<QPair<QString, bool>> rows{{"127.0.0.1:1250", false},
                                               {"127.0.0.1:01250", false},  // the same number
                                               {"127.0.0.1:1251", true},
                                               {"10.0.0.50:1250", true}};
        for (const auto& row : rows) {
            const QString typed = row.first;
            const bool reconnects = row.second;
            PanelFixture panel;
            panel.writeIni(15, {{1, 1}, {2, 0}});
            MainWindow& window = panel.open();
            QVERIFY(panel.show());
            onNextModal([&](QWidget* modal) {
                const auto retype = [modal](const char* box, const QString& text) {
                    auto* edit = modal->findChild<QLineEdit*>(box);
                    edit->selectAll();
                    QTest::keyClick(edit, Qt::Key_Backspace);
                    QTest::keyClicks(edit, text);
                };
                retype("txtIPAddr", typed.section(':', 0, 0));
                retype("txtIPPort", typed.section(':', 1));
                retype("txtCount", "3");
                QTest::mouseClick(modal->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
            });
            panel.menuItem(0, 0)->trigger();
            QCOMPARE(panel.link->disconnects, reconnects ? 1 : 0);
            QCOMPARE(panel.link->connects, reconnects ? 2 : 1);
            QCOMPARE(window.state().Link, std::vector<int16_t>({1, 0, 0}));
            QCOMPARE(window.bank().stripCount(), 3);
            QFile ini(panel.dir.filePath("Slider.ini"));
            QVERIFY(ini.open(QIODevice::ReadOnly));
            const QByteArray saved = ini.readAll();
            QVERIFY(saved.contains("Fader Count=3\r\n"));
            QVERIFY(saved.endsWith(
                "IP Address=" + typed.section(':', 0, 0).toLatin1() + "\r\nIP Port=" +
                (reconnects ? typed.section(':', 1) : "1250").toLatin1() + "\r\n"));
        }
    }

    // File and Help stay in sight with their access keys, the Edit and
    // Snapshots menus between them; one fader wide, where the bar has no
    // room for all four, Edit and Snapshots go behind the chevron instead.
    void menusAndAccessKeys() {
        for (const int count : {1, 2}) {
            PanelFixture panel;
            panel.writeIni(15, faders(count));
            MainWindow& window = panel.open();
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QMenuBar* bar = window.menuBar();
            const QWidget* chevron = bar->findChild<QWidget*>("qt_menubar_ext_button");
            QStringList inSight;
            for (QAction* menu : bar->actions()) {
                const QRect place = bar->actionGeometry(menu);
                if (bar->rect().contains(place) &&
                    !(chevron && chevron->isVisible() && chevron->geometry().intersects(place))) {
                    inSight << menu->text();
                }
            }
            if (count == 1) {
                QVERIFY(chevron && chevron->isVisible());
                QCOMPARE(inSight.mid(0, 2), QStringList({"&File", "&Help"}));
            } else {
                QCOMPARE(inSight, QStringList({"&File", "&Edit", "&Snapshots", "&Help"}));
            }
            for (const auto& [key, name] :
                 {qMakePair(Qt::Key_F, "mnuFile"), qMakePair(Qt::Key_E, "mnuEdit"),
                  qMakePair(Qt::Key_S, "mnuSnapshots"), qMakePair(Qt::Key_H, "mnuHelp")}) {
                QTest::keyClick(&window, key, Qt::AltModifier);
                QTRY_VERIFY(QApplication::activePopupWidget());
                QCOMPARE(QApplication::activePopupWidget()->objectName(), QString(name));
                QApplication::activePopupWidget()->close();
            }
        }
    }

    // The connect item connects or disconnects as the link stands. The
    // switcher sends its names before its links: a saved Stereo setting must
    // survive the moment its link is not known, and what the operator then
    // makes of a box is what closing saves.
    void connectItemAndClosing() {
        PanelFixture panel;
        panel.writeIni(15, {{5, 1}, {6, 1}, {7, 0}});
        MainWindow& window = panel.open();
        QVERIFY(panel.show());
        QCOMPARE(panel.link->connects, 1);  // at start-up
        panel.menuItem(0, 2)->trigger();
        window.state().Connected = true;
        panel.menuItem(0, 2)->trigger();
        QCOMPARE(QList<int>({panel.link->connects, panel.link->disconnects}), QList<int>({2, 1}));
        QCheckBox* first = stereoBoxOf(window.bank().strip(0));
        window.LabelFaders();  // names arrived, links not yet
        QVERIFY(!first->isChecked() && first->isHidden());
        for (int ch = 4; ch <= 6; ++ch) window.state().DestinationLinks[ch] = 1;
        window.LabelFaders();  // links arrived
        QVERIFY(first->isChecked() && first->isVisible());
        QTest::mouseClick(stereoBoxOf(window.bank().strip(1)), Qt::LeftButton);
        QTest::mouseClick(stereoBoxOf(window.bank().strip(2)), Qt::LeftButton);
        window.LabelFaders();  // must not undo the operator's choice
        QVERIFY(window.close());
        QCOMPARE(panel.link->disconnects, 2);
        QFile ini(panel.dir.filePath("Slider.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll().split('\n').mid(3, 6).join(),
                 "Chan 1=5\rLink 1=1\rChan 2=6\rLink 2=0\rChan 3=7\rLink 3=1\r");
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
