// The switcher goes away and comes back: the real panel against the real
// simulator, which drops the connection and stops listening for a while. The
// panel shows the loss at once, retries with growing delays, reconnects by
// itself, is asked its type again and comes back live with its labels and
// gains, and no dialog interrupts the operator meanwhile.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "LinkStatusBar.h"
#include "MainWindow.h"
#include "Recorders.h"
#include "SimulatorProcess.h"
#include "SwitcherLinkFactory.h"

namespace {

const QString Simulator = QStringLiteral(SWITCHER_SIM);
const QStringList Destinations{"PGM L", "PGM R", "MIX 1", "MIX 2"};
constexpr int Faders = 4;

// Watches the screen while the test runs: every status the bar shows, and
// every modal window that appears (closed at once, so the test cannot hang).
class ScreenWatch : public QObject {
public:
    explicit ScreenWatch(MainWindow& window) : window_(window) {
        connect(&poll_, &QTimer::timeout, this, [this] { Look(); });
        poll_.start(10);
    }
    QStringList statuses;
    int dialogs = 0;

private:
    void Look() {
        const QString shown = window_.LinkBar().FullText();
        if (statuses.isEmpty() || statuses.last() != shown) statuses << shown;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++dialogs;
            modal->close();
        }
    }
    MainWindow& window_;
    QTimer poll_;
};

struct LivePanel {
    explicit LivePanel(quint16 port) {
        QByteArray ini = "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=4\r\n";
        for (int n = 1; n <= Faders; ++n) {
            ini += "Chan " + QByteArray::number(n) + "=" + QByteArray::number(n) + "\r\nLink " +
                   QByteArray::number(n) + "=0\r\n";
        }
        ini += "IP Address=127.0.0.1\r\nIP Port=" + QByteArray::number(port) + "\r\n";
        QFile file(dir.filePath(QStringLiteral("Slider.ini")));
        if (file.open(QIODevice::WriteOnly)) file.write(ini);
        file.close();
        window = std::make_unique<MainWindow>(dir.path(), log, &MakeSwitcherLink);
        window->show();
    }
    FaderStrip& Strip(int i) const { return window->Bank().Strip(i); }
    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < Faders; ++i) names << Strip(i).lblChan()->text().trimmed();
        return names;
    }
    // Every fader shows a gain the switcher reported for its channel.
    bool Drawn() const {
        for (int i = 0; i < Faders; ++i) {
            const int16_t code = StoredGain(window->State(), i);
            if (code == 0 || Strip(i).sliGain()->value() != -code) return false;
        }
        return true;
    }
    bool Confirmed() const {
        for (int i = 0; i < Faders; ++i) {
            if (!Strip(i).IsConfirmed()) return false;
        }
        return true;
    }
    bool ShowsLive() const { return window->LinkBar().FullText().startsWith("Live: "); }
    // What the switcher told the panel is forgotten, so that only a new
    // handshake can bring it back.
    void ForgetTheSwitcher() {
        PanelState& state = window->State();
        for (int ch = 0; ch <= Faders; ++ch) {
            state.DestinationAlpha[static_cast<size_t>(ch)].clear();
            state.OutputGains[static_cast<size_t>(ch)] = OutputGain{};
        }
        window->LabelFaders();
        window->Gain().UpdateGain();
    }

    QTemporaryDir dir;
    RecordingLog log;
    std::unique_ptr<MainWindow> window;
};

bool AnyMatches(const QStringList& texts, const QString& pattern) {
    const QRegularExpression expression(pattern);
    for (const QString& text : texts) {
        if (expression.match(text).hasMatch()) return true;
    }
    return false;
}

}  // namespace

class SwitcherOutageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelRidesOutAnOutage() {
        // Four seconds to come up, then four seconds without a switcher.
        SimulatorProcess sim(Simulator, {"--outage", "4:4", "--keepalive", "0"});
        QVERIFY(sim.Port() != 0);
        LivePanel panel(sim.Port());
        ScreenWatch watch(*panel.window);
        QAction* connectItem = panel.window->mnuConnect();

        QTRY_VERIFY_WITH_TIMEOUT(panel.ShowsLive() && panel.Drawn(), Patience);
        QCOMPARE(panel.Names(), Destinations);
        QVERIFY(panel.Confirmed());
        QCOMPARE(panel.window->LinkBar().FullText(),
                 QStringLiteral("Live: 32 sources, 32 destinations"));

        // The switcher goes away: the loss shows at once, the faders are
        // marked as no longer confirmed, and the item stops the retries.
        QVERIFY(sim.WaitFor(QStringLiteral("^outage: not listening")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(
            panel.window->LinkBar().FullText().startsWith(QStringLiteral("Connection lost at ")),
            Patience);
        QVERIFY(!panel.Confirmed());
        QCOMPARE(connectItem->text(), QStringLiteral("&Disconnect"));
        panel.ForgetTheSwitcher();

        // ...and comes back: the panel reconnects by itself and is asked its
        // type again.
        QVERIFY(sim.WaitFor(QStringLiteral("^#2 connected")).hasMatch());
        QVERIFY(sim.WaitFor(QStringLiteral("^#2 <- 81 0A 01 0B FF  type reply")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(panel.ShowsLive() && panel.Drawn(), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(panel.Names(), Destinations, Patience);
        QVERIFY(panel.Confirmed());
        QCOMPARE(connectItem->text(), QStringLiteral("&Disconnect"));

        // What the operator saw on the way: the loss counted down, at least
        // one refused retry and a longer wait, and no dialog at all.
        const QString lost = QStringLiteral("^Connection lost at \\d\\d:\\d\\d:\\d\\d, ");
        QVERIFY2(AnyMatches(watch.statuses, lost + "retrying in 1 s$"),
                 qPrintable(watch.statuses.join(" | ")));
        QVERIFY2(AnyMatches(watch.statuses, lost + "retrying in 2 s$"),
                 qPrintable(watch.statuses.join(" | ")));
        QCOMPARE(watch.dialogs, 0);

        // One log entry per change, none per retry.
        const QString endpoint = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
        QCOMPARE(
            panel.log.entries,
            (QList<QPair<QString, QString>>{
                {"Link to switcher closed by the switcher, retrying", "Connection Error"},
                {"Reconnected to switcher at " + endpoint, "Connection Error"},
                {"Switcher live again with 32 sources and 32 destinations", "Connection Error"}}));
    }
};

QTEST_MAIN(SwitcherOutageTest)
#include "SwitcherOutageTest.moc"
