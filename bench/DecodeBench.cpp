// The cost of decoding: each message kind through the dispatcher on its own,
// and a burst of 100,000 mixed messages worked off while the receive buffer
// holds 1 KB, 64 KB or 1 MB. The cost per message must not grow with what the
// buffer holds: BM_BurstFlatness reports the 1 MB to 1 KB ratio (target 1.5
// at most).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "Dispatcher.h"
#include "Frame.h"
#include "NullPanel.h"
#include "ReceiveBuffer.h"
#include "SwitcherTraffic.h"

namespace {

constexpr int BurstMessages = 100000;
constexpr qsizetype SmallBuffer = 1024;
constexpr qsizetype LargeBuffer = qsizetype{1024} * 1024;

void decodeOne(benchmark::State& st, const QByteArray& message) {
    NullPanel panel;
    ReceiveBuffer buffer;
    for (auto _ : st) {
        buffer.append(message);
        ProcessSwitcherBuffer(buffer, panel.ctx);
    }
    if (panel.log.entries > 0) st.SkipWithError("the decoder logged a fault");
    if (!buffer.isEmpty()) st.SkipWithError("the message was not taken whole");
    st.SetItemsProcessed(st.iterations());
    st.SetBytesProcessed(st.iterations() * message.size());
}

// Works off the whole stream while keeping the buffer topped up to about
// `held` bytes, the way a fast link keeps it filled.
long workOff(const QByteArray& stream, qsizetype held, NullPanel& panel) {
    ReceiveBuffer buffer;
    qsizetype next = 0;
    long calls = 0;
    for (;;) {
        const qsizetype room = held - buffer.size();
        if (next < stream.size() && room >= std::min<qsizetype>(held / 2, 512)) {
            const qsizetype n = std::min(room, stream.size() - next);
            buffer.append(stream.mid(next, n));
            next += n;
        }
        if (buffer.isEmpty()) break;
        const qsizetype before = buffer.size();
        ProcessSwitcherBuffer(buffer, panel.ctx);
        ++calls;
        if (buffer.size() == before && next >= stream.size()) break;
    }
    return calls;
}

const QByteArray& burst() {
    static const QByteArray burst = Traffic::mixedBurst(BurstMessages);
    return burst;
}

void BM_Burst(benchmark::State& st) {
    const qsizetype held = st.range(0);
    for (auto _ : st) {
        st.PauseTiming();
        auto panel = std::make_unique<NullPanel>();
        st.ResumeTiming();
        const long calls = workOff(burst(), held, *panel);
        if (calls != BurstMessages) st.SkipWithError("not one call per message");
    }
    st.SetItemsProcessed(st.iterations() * BurstMessages);
    st.counters["per_message"] =
        benchmark::Counter(static_cast<double>(st.iterations() * BurstMessages),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Seconds per message at a buffer size: the best of a few runs, so one
// disturbance on a shared machine does not decide the ratio.
double secondsPerMessage(qsizetype held) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        NullPanel panel;
        const auto start = std::chrono::steady_clock::now();
        workOff(burst(), held, panel);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / BurstMessages);
    }
    return best;
}

void BM_BurstFlatness(benchmark::State& st) {
    double ratio = 0;
    for (auto _ : st) ratio = secondsPerMessage(LargeBuffer) / secondsPerMessage(SmallBuffer);
    st.counters["ratio_1MB_to_1KB"] = ratio;
    st.counters["target_met"] = ratio <= 1.5 ? 1 : 0;
}

}  // namespace

BENCHMARK_CAPTURE(decodeOne, gain_1_channel, Traffic::gainReport(15, 5, {1024}));
BENCHMARK_CAPTURE(decodeOne, gain_stereo_pair, Traffic::gainReport(15, 5, {1024, 1024}));
BENCHMARK_CAPTURE(decodeOne, gain_128_channels,
                  Traffic::gainReport(3, 0, std::vector<int16_t>(128, 900)));
BENCHMARK_CAPTURE(decodeOne, advanced_gain_1_entry, Traffic::advancedGains(1));
BENCHMARK_CAPTURE(decodeOne, advanced_gain_127_entries, Traffic::advancedGains(127));
BENCHMARK_CAPTURE(decodeOne, links_2, Traffic::linkTable(10, 30, 2));
BENCHMARK_CAPTURE(decodeOne, links_1536, Traffic::linkTable(10, 0, 1536));
BENCHMARK_CAPTURE(decodeOne, alpha_2_labels, Traffic::alphaTable(20, 2));
BENCHMARK_CAPTURE(decodeOne, alpha_1536_labels, Traffic::alphaTable(20, 1536));
BENCHMARK_CAPTURE(decodeOne, crosspoint_1_destination, Traffic::crosspointMap(1));
BENCHMARK_CAPTURE(decodeOne, crosspoint_1025_destinations, Traffic::crosspointMap(1025));
BENCHMARK_CAPTURE(decodeOne, keepalive_answered,
                  QByteArray(1, static_cast<char>(Frame::KeepAliveQuestion)));
BENCHMARK_CAPTURE(decodeOne, no_decoder_dropped, QByteArray::fromHex("f2001e020000000000000020ff"));
BENCHMARK(BM_Burst)
    ->Arg(SmallBuffer)
    ->Arg(int64_t{64} * 1024)
    ->Arg(LargeBuffer)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BurstFlatness)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
