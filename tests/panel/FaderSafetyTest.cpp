// Precision and safety on the faders, through their real widgets: a Shift
// drag and the wheel, a typed gain, a locked fader, and a gain ceiling; and
// "Panel.ini" keeping locks and ceilings from one run to the next. Faders 1
// and 2 sit on channels 5 and 9 (0-based) at the DSP output stage, where the
// switcher has reported 0 dB.
#include <QAccessible>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

#include "FaderGainControl.h"
#include "GainReadout.h"
#include "OperatorFeatures.h"
#include "OperatorMoves.h"
#include "PanelFixture.h"
#include "ProgramFolder.h"
#include "SliderDrag.h"

namespace {

struct Faders : PanelFixture {
    Faders() {
        writeIni(15, {{6, 0}, {10, 0}});
        open();
        for (int16_t channel : {5, 9}) window->state().OutputGains[channel].DspOutput = 1024;
        window->gain().UpdateGain();
        window->show();
        active = QTest::qWaitForWindowActive(window.get());
    }
    FaderStrip& strip(int i) { return window->bank().strip(i); }
    FaderSlider& slider(int i) { return *sliderOf(strip(i)); }
    OperatorFeatures& features() { return window->features(); }
    // The codes sent so far, in order.
    QList<int> sent() const {
        QList<int> codes;
        for (const auto& call : link->gains) codes << call.code;
        return codes;
    }
    int lastSent() const { return link->gains.isEmpty() ? -1 : link->gains.last().code; }
    // The switcher reports a gain of fader i's channel.
    void report(int i, int16_t code) {
        window->state().OutputGains[window->state().Chan[size_t(i)]].DspOutput = code;
        window->gain().tmrGain().stop();
        window->requestRefresh();
    }
    // Opens fader i's read-out editor with the keyboard and types into it.
    QLineEdit* type(int i, const QString& text, Qt::Key end = Qt::Key_Return) {
        slider(i).setFocus();
        QTest::keyClick(&slider(i), Qt::Key_Return);
        auto* editor = strip(i).findChild<QLineEdit*>("txtGain");
        if (!editor || !editor->isVisible()) return editor;
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, end);
        return editor;
    }
    bool active = false;
};

void send(QWidget* to, QEvent* event) { QApplication::sendEvent(to, event); }

// Chooses an item of the next menu that pops up, once it is up.
void chooseFromNextPopup(int item) {
    QTimer::singleShot(10, qApp, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return chooseFromNextPopup(item);
        QAction* action = menu->actions().at(item);
        menu->close();
        action->trigger();
    });
}

void mouseMove(QSlider& slider, QPoint at, Qt::KeyboardModifiers modifiers) {
    QMouseEvent move(QEvent::MouseMove, at, slider.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     modifiers);
    send(&slider, &move);
}

void wheel(QSlider& slider, int eighths, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(slider.width() / 2.0, slider.height() / 2.0);
    QWheelEvent turn(at, slider.mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                     modifiers, Qt::NoScrollPhase, false);
    send(&slider, &turn);
}

// Presses fader i's handle and returns where: the drag starts there.
QPoint pressHandle(QSlider& slider) {
    dragTo(slider, 0);  // the handle to the top, where it is easy to find
    const QPoint handle(slider.width() / 2, 8);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, handle);
    return handle;
}

}  // namespace

class FaderSafetyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The same 40 pixels move the fader a tenth as far with Shift held, and
    // pressing or letting go of Shift without moving moves nothing. A wheel
    // notch is 0.5 dB, 0.1 dB with Shift.
    void shiftDragAndWheel() {
        Faders f;
        QVERIFY(f.active);
        FaderSlider& fader = f.slider(0);
        const QPoint start = pressHandle(fader);
        const int top = -fader.value();
        mouseMove(fader, start + QPoint(0, 40), Qt::NoModifier);
        const int plain = top + fader.value();
        mouseMove(fader, start + QPoint(0, 40), Qt::ShiftModifier);
        QCOMPARE(-fader.value(), top - plain);
        mouseMove(fader, start + QPoint(0, 80), Qt::ShiftModifier);
        const int fine = top - plain + fader.value();
        QVERIFY2(plain > 50 && qAbs(fine * 10 - plain) <= 10,
                 qPrintable(QStringLiteral("%1 / %2").arg(plain).arg(fine)));
        mouseMove(fader, start + QPoint(0, 80), Qt::NoModifier);
        QCOMPARE(f.lastSent(), -fader.value());
        QTest::mouseRelease(&fader, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, 80));

        const int before = -fader.value();
        wheel(fader, 120);
        QCOMPARE(f.lastSent(), before + 5);
        wheel(fader, 60, Qt::ShiftModifier);  // half a notch: nothing yet
        wheel(fader, 60, Qt::ShiftModifier);
        QCOMPARE(f.lastSent(), before + 6);
        wheel(fader, -240);
        QCOMPARE(f.lastSent(), before - 4);
    }

    // Every form the editor takes, held to the travel; refused text keeps it
    // open and sends nothing, as does Escape. Double-clicking the read-out
    // opens it too.
    void typedGain() {
        Faders f;
        QVERIFY(f.active);
        const QList<QPair<QString, int>> rows{{"-12.5", 899}, {"-12.5 dB", 899}, {"+3", 1054},
                                              {"0", 1024},    {"off", 24},       {"-3,2db", 992},
                                              {"30", 1264},   {"-120", 24}};
        for (const auto& [typed, code] : rows) {
            f.report(0, int16_t(code == 1024 ? 1000 : 1024));
            f.type(0, typed);
            QCOMPARE(f.lastSent(), code);
        }
        const qsizetype sent = f.link->gains.size();
        QLineEdit* editor = f.type(0, "loud");
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->palette().color(QPalette::Text), QColor(200, 30, 30));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        f.type(0, "-6", Qt::Key_Escape);
        QCOMPARE(f.link->gains.size(), sent);

        QTest::mouseDClick(readoutOf(f.strip(1)), Qt::LeftButton);
        QTRY_VERIFY(f.strip(1).findChild<QLineEdit*>("txtGain")->hasFocus());
    }

    // Locked with Ctrl+L, a fader ignores the mouse, the keys, the wheel, the
    // 0db button, a typed gain, a recall and an undo; it still follows the
    // switcher, and says it is locked.
    void lockedFaderIgnoresEveryRoad() {
        Faders f;
        QVERIFY(f.active);
        f.features().storeSnapshot("Low");
        QTest::keyClick(&f.slider(0), Qt::Key_Up);  // an undo step to come
        f.features().moves().finishHandGesture();
        f.report(0, 1001);
        const qsizetype sent = f.link->gains.size();

        f.slider(0).setFocus();
        QTest::keyClick(&f.slider(0), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(f.strip(0).isLocked());
        dragTo(f.slider(0), 10);
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Home})
            QTest::keyClick(&f.slider(0), key);
        wheel(f.slider(0), 120);
        QTest::mouseClick(zeroButtonOf(f.strip(0)), Qt::LeftButton);
        QVERIFY(!f.type(0, "+3")->isVisible());
        f.features().recallSnapshot(0);
        f.features().undo();
        QCOMPARE(f.link->gains.size(), sent);

        f.report(0, 900);
        QCOMPARE(f.slider(0).value(), -900);
        QVERIFY(QAccessible::queryAccessibleInterface(&f.slider(0))
                    ->text(QAccessible::Name)
                    .endsWith(", locked"));
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  f.strip(0).mapToGlobal(QPoint(5, 5)));
        chooseFromNextPopup(0);  // Lock Fader, checked: unlocks
        send(&f.strip(0), &menuKey);
        QVERIFY(!f.strip(0).isLocked());
        QTest::keyClick(&f.slider(0), Qt::Key_Up);
        QCOMPARE(f.lastSent(), 901);
    }

    // With a +10 dB ceiling a drag stops there, Home goes there, a typed or
    // recalled gain above it is held to it (and the journal says so); a
    // switcher that reports more is shown as it is.
    void ceilingOnEveryRoad() {
        Faders f;
        QVERIFY(f.active);
        f.report(1, 1200);
        f.features().storeSnapshot("Hot");
        f.report(1, 1024);
        f.features().setCeilings({{15, int16_t(1124)}});

        dragTo(f.slider(1), 0);
        QCOMPARE(f.lastSent(), 1124);
        f.report(1, 1024);
        QTest::keyClick(&f.slider(1), Qt::Key_Home);
        QCOMPARE(f.lastSent(), 1124);
        f.report(1, 1024);
        f.type(1, "+20");
        QCOMPARE(f.lastSent(), 1124);
        f.report(1, 1024);
        f.features().recallSnapshot(0);
        QCOMPARE(f.lastSent(), 1124);
        QCOMPARE(f.sent().count(1200), 0);
        f.features().setCeilings({{15, int16_t(964)}});  // below 0 dB: so is the 0db button
        QTest::mouseClick(zeroButtonOf(f.strip(1)), Qt::LeftButton);
        QCOMPARE(f.lastSent(), 964);

        f.report(1, 1200);
        QCOMPARE(f.slider(1).value(), -1200);
        QCOMPARE(f.strip(1).readoutText(), gainReadoutText(1200));
        f.window->close();
        QVERIFY(
            readFile(f.dir.filePath("Operator.log")).contains("+10.0 dB (held to the ceiling)"));
    }

    // Locks by fader position and ceilings by stage come back next run.
    void panelIniKeepsLocksAndCeilings() {
        PanelFixture first;
        first.writeIni(15, {{6, 0}, {10, 0}});
        MainWindow& window1 = first.open();
        sliderOf(window1.bank().strip(1))->setFocus();
        QTest::keyClick(sliderOf(window1.bank().strip(1)), Qt::Key_L, Qt::ControlModifier);
        first.window->features().setCeilings({{15, int16_t(1124)}, {3, int16_t(1000)}});
        first.window->close();
        QVERIFY(readFile(first.dir.filePath("Slider.ini")).indexOf("Lock") < 0);

        PanelFixture second;
        QVERIFY(QFile::copy(first.dir.filePath("Slider.ini"), second.dir.filePath("Slider.ini")));
        QVERIFY(QFile::copy(first.dir.filePath("Panel.ini"), second.dir.filePath("Panel.ini")));
        MainWindow& window = second.open();
        QVERIFY(!window.bank().strip(0).isLocked() && window.bank().strip(1).isLocked());
        QCOMPARE(window.features().ceilings(),
                 (SafetyStore::Ceilings{{3, int16_t(1000)}, {15, int16_t(1124)}}));
        QCOMPARE(sliderOf(window.bank().strip(0))->ceiling(), std::optional<int16_t>(1124));
    }
};

QTEST_MAIN(FaderSafetyTest)
#include "FaderSafetyTest.moc"
