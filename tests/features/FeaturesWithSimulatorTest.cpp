// Snapshots, undo and redo, and the operator's journal, on the real panel
// against the real simulator: what matters is what reaches the switcher and
// what the journal says of it. Faders 1 to 3 sit on PGM L, PGM R (a stereo
// pair) and MIX 1; the gains the switcher receives are read from its
// printout.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QElapsedTimer>
#include <QtTest>

#include "LivePanel.h"
#include "OperatorFeatures.h"
#include "OperatorMoves.h"
#include "SimulatorProcess.h"
#include "SliderDrag.h"
#include "SnapshotRecall.h"

namespace {

const QString Simulator = QStringLiteral(SWITCHER_SIM);

// Every gain change a panel sent from `from` on: "ch 1-2=1024" or "ch 3=900".
QStringList changesAt(const SimulatorProcess& sim, int from, int panel = 1) {
    QStringList changes;
    const QRegularExpression change(
        QStringLiteral("^#%1 <- E3 .* gain change stage 15 ch ([0-9-]+) \\(.*\\) = (\\d+) ")
            .arg(panel));
    for (const QString& line : sim.lines().mid(from)) {
        const QRegularExpressionMatch match = change.match(line);
        if (match.hasMatch()) changes << match.captured(1) + '=' + match.captured(2);
    }
    return changes;
}

struct Live {
    explicit Live(const QStringList& options = {"--keepalive", "0"})
        : sim(Simulator, options), panel(sim.port(), 15, 3) {}
    bool ready() {
        return QTest::qWaitForWindowActive(panel.window.get()) &&
               QTest::qWaitFor([this] { return panel.drawn() && panel.name(2) == "MIX 1"; },
                               Patience);
    }
    OperatorFeatures& features() { return panel.window->features(); }
    // Sets fader i to a code as a screen reader does, one gesture, and waits
    // for the switcher to take it and the panel to hear so.
    bool setGain(int i, int code) {
        const int from = sim.mark();
        QAccessible::queryAccessibleInterface(&panel.slider(i))
            ->valueInterface()
            ->setCurrentValue((code - 1024) / 10.0);
        return took(from, i, code);
    }
    // The switcher reported fader i's code since `from`, and the panel heard it.
    bool took(int from, int i, int code) {
        return sim.reportedBack(from, i + 1, code) && heard(i, code);
    }
    bool heard(int i, int code) {
        return QTest::qWaitFor([&] { return storedGain(panel.state(), i) == code; }, Patience);
    }
    QStringList journal() const {
        const QString text = QString::fromUtf8(readFile(panel.dir.filePath("Operator.log")));
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    SimulatorProcess sim;
    LivePanel panel;
};

}  // namespace

class FeaturesWithSimulatorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Stored, changed, recalled at once with Ctrl+1: the switcher gets the
    // stored gains, the stereo fader's as a pair, and "Panel.ini" keeps the
    // snapshot for the next run.
    void storeChangeRecallAtOnce() {
        Live live;
        QVERIFY(live.ready());
        QTest::mouseClick(stereoBoxOf(live.panel.strip(0)), Qt::LeftButton);
        QVERIFY(live.setGain(0, 824) && live.setGain(2, 1024));
        live.features().storeSnapshot(QStringLiteral("Show start"));
        QVERIFY(live.setGain(0, 500) && live.setGain(2, 600));

        const int mark = live.sim.mark();
        QTest::keyClick(live.panel.window.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(live.sim.reportedBack(mark, 3, 1024));
        // Fader 2, mono on PGM R, had its channel moved by fader 1's pair.
        QCOMPARE(changesAt(live.sim, mark), QStringList({"1-2=824", "2=824", "3=1024"}));
        QVERIFY(readFile(live.panel.dir.filePath("Panel.ini")).contains("Name=Show start\r\n"));
        QVERIFY2(live.panel.log.entries.isEmpty(), live.panel.logText().constData());
    }

    // A one-second fade: every code on the way between start and target, the
    // last one the target, no fader moved again within 20 ms; a fader the
    // operator takes during the fade keeps the operator's value.
    void recallAsFadeAndTakenFader() {
        Live live;
        QVERIFY(live.ready());
        QVERIFY(live.setGain(1, 1000) && live.setGain(2, 524));
        live.features().storeSnapshot(QStringLiteral("Loud"));
        QVERIFY(live.setGain(1, 24) && live.setGain(2, 24));
        live.features().setFadeSeconds(1);

        QList<QPair<int, qint64>> moves;  // fader, ms
        QElapsedTimer clock;
        clock.start();
        connect(&live.features().moves(), &OperatorMoves::moved, this, [&](int fader, int16_t) {
            moves.append({fader, clock.elapsed()});
        });
        const int mark = live.sim.mark();
        QCOMPARE(live.features().recallSnapshot(0), QString());
        QTest::qWait(300);
        QTest::keyClick(&live.panel.slider(2), Qt::Key_Up);  // taken mid-fade
        const int taken = -live.panel.slider(2).value();
        QTRY_VERIFY_WITH_TIMEOUT(!live.features().recall().isFading(), Patience);
        QVERIFY(live.sim.reportedBack(mark, 2, 1000));

        QList<int> two, three;
        for (const QString& change : changesAt(live.sim, mark))
            (change.startsWith("2=") ? two : three) << change.section('=', 1).toInt();
        QVERIFY(two.size() > 5 && two.last() == 1000);
        for (qsizetype i = 1; i < two.size(); ++i) QVERIFY(two[i - 1] < two[i]);
        QCOMPARE(three.last(), taken);
        for (const int code : three.mid(0, three.size() - 2)) QVERIFY(code > 24 && code < 524);
        for (int fader : {1, 2}) {
            qint64 last = -1000;
            for (const auto& [moved, at] : moves) {
                if (moved != fader || at >= clock.elapsed()) continue;
                QVERIFY2(at - last >= 19, qPrintable(QStringLiteral("%1 ms").arg(at - last)));
                last = at;
                if (fader == 2 && -live.panel.slider(2).value() == taken) break;
            }
        }
    }

    // A drag, a run of keys and a recall are each one step; undo sends each
    // fader back to what the switcher had before, redo sends it again. A
    // change another panel made through the switcher is never undone.
    void undoAndRedo() {
        Live live;
        QVERIFY(live.ready());
        QVERIFY(live.setGain(2, 1024) && live.setGain(1, 700));
        live.features().storeSnapshot(QStringLiteral("Start"));
        LivePanel other(live.sim.port(), 15, 3);

        FaderSlider& mix = live.panel.slider(2);
        int mark = live.sim.mark();
        dragTo(mix, mix.height() / 4);
        const int dragged = -mix.value();
        QVERIFY(dragged != 1024 && live.took(mark, 2, dragged));
        mix.setFocus();
        for (int n = 0; n < 3; ++n) QTest::keyClick(&mix, Qt::Key_Down);
        QVERIFY(live.took(mark, 2, dragged - 3));
        live.features().moves().finishHandGesture();
        QVERIFY(live.setGain(1, 900));
        QCOMPARE(live.features().recallSnapshot(0), QString());  // fader 2 back to 700
        QVERIFY(live.took(mark, 1, 700) && live.heard(2, 1024));

        mark = live.sim.mark();
        QTest::keyClick(&other.slider(0), Qt::Key_End);  // the switcher's own change, to us
        QVERIFY(live.sim.reportedBack(mark, 1, 24));

        mark = live.sim.mark();
        QWidget* window = live.panel.window.get();
        window->activateWindow();  // the other panel came up last
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);  // the recall
        QVERIFY(live.took(mark, 2, dragged - 3) && live.took(mark, 1, 900));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);  // the screen reader
        QVERIFY(live.took(mark, 1, 700));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);  // the run
        QVERIFY(live.took(mark, 2, dragged));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);  // the drag
        QVERIFY(live.took(mark, 2, 1024));
        const int redone = live.sim.mark();
        QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(live.took(redone, 2, dragged));
        QCOMPARE(changesAt(live.sim, mark, 1),
                 QStringList({"2=900", QStringLiteral("3=%1").arg(dragged - 3), "2=700",
                              QStringLiteral("3=%1").arg(dragged), "3=1024",
                              QStringLiteral("3=%1").arg(dragged)}));
    }

    // Confirmed when the switcher reports the gain asked for, refused when it
    // reports another, unconfirmed when nothing comes within a second.
    void journalSaysWhatBecameOfAMove() {
        Live live({"--max-gain", "10dB", "--keepalive", "0"});
        QVERIFY(live.ready());
        QVERIFY(live.setGain(2, 1024));
        QTest::keyClick(&live.panel.slider(2), Qt::Key_Home);
        QTRY_COMPARE_WITH_TIMEOUT(live.journal().filter("fader 3").size(), 2, Patience);
        const QStringList lines = live.journal().filter("fader 3");
        QVERIFY2(lines[0].contains("screen reader  fader 3  ch 3 \"MIX 1\"  DSP Output Level") &&
                     lines[0].endsWith("-> 0.0 dB  confirmed"),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains("keyboard  fader 3") &&
                     lines[1].endsWith("0.0 dB -> +24.0 dB  refused (switcher reported +10.0 dB)"),
                 qPrintable(lines[1]));
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}  ")
                    .match(lines[0])
                    .hasMatch());

        live.panel.menu("&Disconnect")->trigger();
        QTest::keyClick(&live.panel.slider(2), Qt::Key_End);
        QTRY_COMPARE_WITH_TIMEOUT(live.journal().filter("fader 3").size(), 3, Patience);
        QVERIFY2(live.journal().last().endsWith("-> Off  unconfirmed"),
                 qPrintable(live.journal().last()));
        QVERIFY(!live.journal().filter("link  Live").isEmpty());
    }
};

QTEST_MAIN(FeaturesWithSimulatorTest)
#include "FeaturesWithSimulatorTest.moc"
