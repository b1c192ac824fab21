// The panel as the operator meets it, real window and real link over TCP
// against a switcher on its own thread:
// - StartUpAnswer: a large switcher's whole answer to the start-up request,
//   from its first byte to the last message decoded through the real timers,
//   and the longest single stall of the UI thread meanwhile (target: under
//   20 ms; the type request's 100 ms pause comes before and is not counted);
// - FaderMove: a key press on a fader to the gain message's bytes arriving at
//   the switcher, median and 99th percentile;
// - IdlePanel: two seconds with the link up and nothing happening: timer
//   events and CPU time, both expected to be zero;
// - SnapshotRecall: Snapshots > 1 chosen, recalling all 20 faders at once, to
//   the last gain message's bytes at the switcher (target: under 2 ms);
// - IdleAfterFade: the same two idle seconds right after a recall's fade has
//   ended: its timers must have stopped with it;
// - RemoteMove: an OSC datagram "/fader/1/code" sent to the panel's remote
//   control to the gain message's bytes at the switcher, median and 99th
//   percentile (target: a median under 150 us); beside it
// - UdpRoundTrip: a datagram to an echo on another thread and back over
//   loopback, the floor any remote control stands on.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "FaderBank.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "OperatorFeatures.h"
#include "OscEncoder.h"
#include "PanelOnSwitcher.h"
#include "PanelState.h"
#include "RemoteServer.h"
#include "SnapshotRecall.h"
#include "StripParts.h"
#include "SwitcherTraffic.h"
#include "TimedApplication.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
using Us = std::chrono::duration<double, std::micro>;

constexpr int StallTargetMs = 20;
constexpr int AnswerPatienceMs = 120000;

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs the event loop until done() holds after some event, or patience runs
// out; the time the deciding event ended.
std::optional<Clock::time_point> runUntil(const std::function<bool()>& done, int patienceMs) {
    QEventLoop loop;
    std::optional<Clock::time_point> doneAt;
    app().afterEachEvent = [&](Clock::time_point end) {
        if (doneAt || !done()) return;
        doneAt = end;
        loop.quit();
    };
    QTimer::singleShot(patienceMs, &loop, &QEventLoop::quit);
    loop.exec();
    app().afterEachEvent = nullptr;
    return doneAt;
}

void BM_StartUpAnswer(benchmark::State& st) {
    const QByteArray answer = Traffic::startUpAnswer(static_cast<int>(st.range(0)));
    double longestMs = 0;
    for (auto _ : st) {
        PanelOnSwitcher panel;
        if (!panel.handshake()) return st.SkipWithError("no handshake");
        app().startWatching();
        panel.switcher().send(answer);
        const auto lastDecoded = runUntil(
            [&] {
                return panel.state().OutputGains.at(Traffic::Channels - 1).DspOutput ==
                       Traffic::LastAnswerCode;
            },
            AnswerPatienceMs);
        const auto firstByte = panel.switcher().lastSendStarted();
        if (!lastDecoded || !firstByte) return st.SkipWithError("the answer was not decoded");
        if (panel.loggedFaults() > 0) return st.SkipWithError("the panel logged a fault");
        st.SetIterationTime(std::chrono::duration<double>(*lastDecoded - *firstByte).count());
        longestMs = std::max(longestMs, Ms(app().longestEvent()).count());
    }
    st.counters["answer_bytes"] = static_cast<double>(answer.size());
    st.counters["longest_stall_ms"] = longestMs;
    st.counters["target_met"] = longestMs < StallTargetMs ? 1 : 0;
}

// Each iteration's latency, timed by hand, and their median and 99th
// percentile as the benchmark's counters.
class Latencies {
public:
    void add(benchmark::State& st, double us) {
        st.SetIterationTime(us / 1e6);
        m_us.push_back(us);
    }

    void report(benchmark::State& st) {
        st.counters["median_us"] = percentile(0.5);
        st.counters["p99_us"] = percentile(0.99);
    }

private:
    double percentile(double fraction) {
        if (m_us.empty()) return 0;
        std::sort(m_us.begin(), m_us.end());
        return m_us[static_cast<size_t>(fraction * static_cast<double>(m_us.size() - 1))];
    }

    std::vector<double> m_us;
};

void BM_FaderMove(benchmark::State& st) {
    PanelOnSwitcher panel;
    if (!panel.handshake()) return st.SkipWithError("no handshake");
    FaderSlider* fader = sliderOf(panel.window().bank().strip(0));
    fader->setValue(-500);
    Latencies latencies;
    bool up = true;
    for (auto _ : st) {
        const qsizetype expected = panel.switcher().receivedCount() + 11;  // one gain message
        const Clock::time_point pressed = Clock::now();
        QTest::keyClick(fader, up ? Qt::Key_Up : Qt::Key_Down);
        const auto arrived =
            panel.switcher().waitForReceived(expected, std::chrono::milliseconds(2000));
        if (!arrived) return st.SkipWithError("the gain message did not arrive");
        const double latency = Us(*arrived - pressed).count();
        latencies.add(st, latency);
        up = !up;
        QCoreApplication::processEvents();  // the timers run between moves, as they would
    }
    latencies.report(st);
}

// The tables of 32 channels, every gain at 0 dB, taken in and drawn.
void bringUp(PanelOnSwitcher& panel) {
    panel.switcher().send(Traffic::alphaTable(10, 32) + Traffic::alphaTable(20, 32) +
                          Traffic::linkTable(10, 0, 32) + Traffic::linkTable(20, 0, 32) +
                          Traffic::gainReport(15, 0, std::vector<int16_t>(32, 1024)));
    QTest::qWait(500);
}

// Two seconds of nothing: the CPU time and the events meanwhile.
void measureIdle(benchmark::State& st) {
    QTimer end;
    end.setSingleShot(true);
    app().ignoreTimerOf(&end);
    app().startWatching();
    const double cpuBefore = processCpuMs();
    QEventLoop loop;
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(2000);
    loop.exec();
    st.counters["cpu_ms"] = processCpuMs() - cpuBefore;
    st.counters["timer_events"] = static_cast<double>(app().timerEvents());
    st.counters["events"] = static_cast<double>(app().events());
    for (const QString& who : app().timerReceivers()) {
        std::fprintf(stderr, "timer events while idle: %s\n", qPrintable(who));
    }
    app().ignoreTimerOf(nullptr);
}

void BM_IdlePanel(benchmark::State& st) {
    for (auto _ : st) {
        PanelOnSwitcher panel;
        if (!panel.handshake()) return st.SkipWithError("no handshake");
        bringUp(panel);
        measureIdle(st);
    }
}

QAction* firstSnapshotItem(MainWindow& window) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() != QStringLiteral("&Snapshots")) continue;
        for (QAction* item : action->menu()->actions()) {
            if (item->text().startsWith(QStringLiteral("&1 "))) return item;
        }
    }
    return nullptr;
}

// Between recalls the panel is told the switcher holds -10 dB everywhere, so
// each recall of the 0 dB snapshot moves all 20 faders again.
void BM_SnapshotRecall(benchmark::State& st) {
    PanelOnSwitcher panel;
    if (!panel.handshake()) return st.SkipWithError("no handshake");
    bringUp(panel);
    panel.window().features().storeSnapshot(QStringLiteral("All at 0 dB"));
    QAction* recall = firstSnapshotItem(panel.window());
    if (!recall) return st.SkipWithError("no snapshot to choose");
    Latencies latencies;
    for (auto _ : st) {
        for (OutputGain& gain : panel.state().OutputGains) gain.DspOutput = 924;
        const qsizetype expected =
            panel.switcher().receivedCount() + qsizetype{11} * PanelOnSwitcher::Faders;
        const Clock::time_point chosen = Clock::now();
        recall->trigger();
        const auto arrived =
            panel.switcher().waitForReceived(expected, std::chrono::milliseconds(2000));
        if (!arrived) return st.SkipWithError("the recall's messages did not all arrive");
        const double latency = Us(*arrived - chosen).count();
        latencies.add(st, latency);
        QCoreApplication::processEvents();
    }
    latencies.report(st);
}

void BM_IdleAfterFade(benchmark::State& st) {
    for (auto _ : st) {
        PanelOnSwitcher panel;
        if (!panel.handshake()) return st.SkipWithError("no handshake");
        bringUp(panel);
        OperatorFeatures& features = panel.window().features();
        features.storeSnapshot(QStringLiteral("All at 0 dB"));
        for (OutputGain& gain : panel.state().OutputGains) gain.DspOutput = 924;
        features.setFadeSeconds(1);
        features.recallSnapshot(0);
        if (!QTest::qWaitFor([&] { return !features.recall().isFading(); }, 5000)) {
            return st.SkipWithError("the fade did not end");
        }
        QTest::qWait(1500);  // the journal's wait for answers and the redraw
        measureIdle(st);
    }
}

// Each datagram asks for another code, so that every one is sent on.
void BM_RemoteMove(benchmark::State& st) {
    PanelOnSwitcher panel;
    if (!panel.handshake()) return st.SkipWithError("no handshake");
    bringUp(panel);
    RemoteSettings remote;
    remote.enabled = true;
    remote.port = 0;
    panel.window().features().setRemoteSettings(remote);
    const quint16 port = panel.window().features().remote().port();
    QUdpSocket controller;
    Latencies latencies;
    int code = 500;
    for (auto _ : st) {
        code = code == 500 ? 501 : 500;
        const QByteArray datagram = oscMessage("/fader/1/code", QVariantList{code});
        const qsizetype expected = panel.switcher().receivedCount() + 11;
        const Clock::time_point sent = Clock::now();
        controller.writeDatagram(datagram, QHostAddress::LocalHost, port);
        if (!runUntil([&] { return panel.switcher().receivedCount() >= expected; }, 2000)) {
            return st.SkipWithError("the gain message did not arrive");
        }
        const auto arrived =
            panel.switcher().waitForReceived(expected, std::chrono::milliseconds(0));
        const double latency = Us(*arrived - sent).count();
        latencies.add(st, latency);
    }
    latencies.report(st);
}

// An echo on a thread of its own: what comes in goes back at once.
void BM_UdpRoundTrip(benchmark::State& st) {
    const int echo = socket(AF_INET, SOCK_DGRAM, 0);
    const int client = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(echo, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(echo, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return st.SkipWithError("no loopback socket for the echo");
    }
    std::thread echoing([echo] {
        char buffer[512];
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        for (;;) {
            const ssize_t n = recvfrom(echo, buffer, sizeof(buffer), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n <= 1) return;
            sendto(echo, buffer, static_cast<size_t>(n), 0, reinterpret_cast<sockaddr*>(&from),
                   fromLength);
        }
    });
    const QByteArray datagram = oscMessage("/fader/1/code", QVariantList{500});
    Latencies latencies;
    char reply[512];
    for (auto _ : st) {
        const Clock::time_point sent = Clock::now();
        sendto(client, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
               reinterpret_cast<sockaddr*>(&address), sizeof(address));
        recv(client, reply, sizeof(reply), 0);
        const double latency = Us(Clock::now() - sent).count();
        latencies.add(st, latency);
    }
    sendto(client, "", 1, 0, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    echoing.join();
    close(client);
    close(echo);
    latencies.report(st);
}

}  // namespace

BENCHMARK(BM_StartUpAnswer)
    ->ArgName("channels_per_gain_message")
    ->Arg(1)
    ->Arg(128)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FaderMove)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdlePanel)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotRecall)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleAfterFade)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoteMove)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UdpRoundTrip)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    // Widgets without a screen: the offscreen platform, unless one is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
