// Start-up to the first painted window, and peak memory, of the panel with
// 20 faders beside the floor: an empty Qt window holding 20 sliders. Each
// window is started as a process of its own (this program, with --child), so
// the time includes loading Qt and the memory is the process's peak. Target:
// the panel within 1.5 times the floor on both.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "StartupWindows.h"

namespace {

constexpr int Runs = 9;
constexpr int PatienceMs = 30000;
constexpr double Target = 1.5;

struct StartUp {
    double paintedMs = 0;
    double peakMb = 0;
    QString width, height;  // of the window, in pixels
};

// A port nobody listens on: the panel's connection attempt is refused at
// once and costs the start-up nothing more.
quint16 closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

QByteArray twentyFaders(quint16 port) {
    QByteArray text = "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=20\r\n";
    for (int n = 1; n <= 20; ++n) {
        text += "Chan " + QByteArray::number(n) + "=" + QByteArray::number(n) + "\r\nLink " +
                QByteArray::number(n) + "=0\r\n";
    }
    return text + "IP Address=127.0.0.1\r\nIP Port=" + QByteArray::number(port) + "\r\n";
}

std::optional<StartUp> startChild(const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    StartUp result;
    while (child.waitForReadyRead(PatienceMs)) {
        while (child.canReadLine()) {
            const QList<QByteArray> words = child.readLine().trimmed().split(' ');
            if (words.value(0) == PaintedLine) {
                result.paintedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
                result.width = QString::fromLatin1(words.value(1));
                result.height = QString::fromLatin1(words.value(2));
            }
            if (words.value(0) == PeakLine) result.peakMb = words.value(1).toDouble() / 1024;
        }
        if (result.peakMb > 0) break;
    }
    child.waitForFinished(PatienceMs);
    if (result.paintedMs <= 0 || result.peakMb <= 0) return std::nullopt;
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_StartUpBesideFloor(benchmark::State& st) {
    QTemporaryDir folder;
    QFile settings(folder.filePath(QStringLiteral("Slider.ini")));
    if (!settings.open(QIODevice::WriteOnly)) return st.SkipWithError("no settings file");
    settings.write(twentyFaders(closedPort()));
    settings.close();

    std::vector<double> panelMs, floorMs, panelMb, floorMb;
    for (auto _ : st) {
        // Alternated, so a slow spell of the machine hits both alike.
        for (int run = 0; run < Runs; ++run) {
            const auto panel = startChild({ChildFlag, PanelMode, folder.path()});
            if (!panel) return st.SkipWithError("the panel did not start");
            const auto floor = startChild({ChildFlag, FloorMode, panel->width, panel->height});
            if (!floor) return st.SkipWithError("the floor window did not start");
            panelMs.push_back(panel->paintedMs);
            floorMs.push_back(floor->paintedMs);
            panelMb.push_back(panel->peakMb);
            floorMb.push_back(floor->peakMb);
        }
    }
    st.counters["panel_ms"] = median(panelMs);
    st.counters["floor_ms"] = median(floorMs);
    st.counters["time_ratio"] = median(panelMs) / median(floorMs);
    st.counters["panel_MB"] = median(panelMb);
    st.counters["floor_MB"] = median(floorMb);
    st.counters["memory_ratio"] = median(panelMb) / median(floorMb);
    const bool met =
        median(panelMs) <= Target * median(floorMs) && median(panelMb) <= Target * median(floorMb);
    st.counters["target_met"] = met ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_StartUpBesideFloor)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc >= 3 && QByteArray(argv[1]) == ChildFlag) return runStartUpChild(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
