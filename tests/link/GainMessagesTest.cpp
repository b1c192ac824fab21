// Gain messages both ways: the bytes a fader move sends, and what a received
// report stores, refreshes or reports.
#include <QtTest>

#include "GainMessages.h"
#include "LinkHarness.h"

namespace {
const Entry GainFault{"Error Receiving Gain", "Switcher Message Error"};
const Entry ChecksumFault{"Check Sum Error", "Gain Message"};

// The stored code of a channel at a stage, as the faders read it.
int Stored(const PanelState& s, int stage, size_t channel) {
    if (stage == 1) return s.InputGains.at(channel).InputSensitivity;
    if (stage == 3) return s.OutputGains.at(channel).FinalOutput;
    return s.OutputGains.at(channel).DspOutput;
}
}  // namespace

class GainMessagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void send_data() {
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<QList<int>>("args");   // stage, code, channel, extra or count
        QTest::addColumn<QByteArray>("bytes");  // empty: refused
        const auto row = [](const char* name, bool stereo, QList<int> args, const char* hex) {
            QTest::newRow(name) << stereo << args << Hex(hex);
        };
        row("one channel at 0 dB", false, {15, 1024, 5, 16383}, "e3020f0100050000081fff");
        row("stereo pair", true, {15, 1024, 5, 2}, "e3020f020005000008000828ff");
        row("with an extra field", false, {15, 1024, 5, 3}, "e3020f010005000008030022ff");
        row("negative stage", false, {-1, 1024, 5, 16383}, "");
        row("negative count", true, {15, 1024, 5, -2}, "");
        row("channel beyond 14 bits", false, {15, 1024, 16384, 16383}, "");
        row("stage beyond 7 bits", true, {128, 1024, 5, 2}, "");
    }
    void send() {
        QFETCH(bool, stereo);
        QFETCH(QList<int>, args);
        QFETCH(QByteArray, bytes);
        LinkHarness link;
        const auto a = [&](int i) { return static_cast<int16_t>(args[i]); };
        (stereo ? SendStereoGainChange : SendGainChange)(link.ctx, a(0), a(1), a(2), a(3));
        const bool refused = bytes.isEmpty();
        QCOMPARE(link.sender.sent, refused ? QList<QByteArray>{} : QList<QByteArray>{bytes});
        const Entry fault{"Error Sending Gain Message", "Switcher Message Error"};
        QCOMPARE(link.log.entries, refused ? LogEntries{fault} : LogEntries{});
    }

    // Channels listed took code 1024 at the stage; all others kept 0.
    void receive_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<size_t>("tableSize");
        QTest::addColumn<int>("refreshes");
        QTest::addColumn<LogEntries>("entries");
        const auto row = [](const char* name, const char* hex, int stage, QList<int> channels,
                            size_t size, int refreshes, LogEntries entries) {
            QTest::newRow(name) << Hex(hex) << stage << channels << size << refreshes << entries;
        };
        const size_t start = PanelState::InitialChannels;
        row("stereo pair, stage 15", "e3020f020005000008000828ff", 15, {5, 6}, start, 1, {});
        row("stage 3", "e3020301000500000813ff", 3, {5}, start, 1, {});
        row("stage 2 stores nothing", "e3020201000500000812ff", 15, {}, start, 1, {});
        row("stage 16, 3 bytes each", "e302100100050000080727ff", 15, {}, start, 1, {});
        row("mix stage 10", "e3020a01000500000801001bff", 15, {}, start, 1, {});
        row("mix stage 11, 5 bytes each", "e3020b01000500000801000723ff", 15, {}, start, 1, {});
        row("channel 1500 in its own entry", "e3020f01005c0b000801ff", 15, {1500}, start, 1, {});
        row("channel 2000 grows the table", "e3020f0100500f000879ff", 15, {2000}, 2002, 1, {});
        row("stage 1, channels 1600-1601", "e302010200400c0008000861ff", 1, {1600, 1601}, 1603, 1,
            {});
        row("one byte too long", "e3020f010005000008001fff", 15, {}, start, 0, {});
        row("one byte short", "e3020f0200050000080020ff", 15, {}, start, 0, {});
        row("two bytes short", "e3020f02000500000820ff", 15, {}, start, 0, {});
        row("three bytes short", "e3020f020005000018ff", 15, {}, start, 0, {GainFault});
        row("bad checksum", "e3020f0100050000081eff", 15, {}, start, 0, {ChecksumFault});
        row("count 0", "e3020f0000050016ff", 15, {}, start, 0, {GainFault});
        row("header cut off", "e30000ff", 15, {}, start, 0, {GainFault});
    }
    void receive() {
        QFETCH(QByteArray, message);
        QFETCH(int, stage);
        QFETCH(QList<int>, channels);
        QFETCH(size_t, tableSize);
        QFETCH(int, refreshes);
        QFETCH(LogEntries, entries);
        LinkHarness link;
        ReceiveGain(link.ctx, message);
        QCOMPARE(link.log.entries, entries);
        QCOMPARE(link.view.refreshRequests, refreshes);
        const PanelState& s = link.state;
        QCOMPARE(stage == 1 ? s.InputGains.size() : s.OutputGains.size(), tableSize);
        for (size_t ch = 0; ch < tableSize; ++ch) {
            QCOMPARE(Stored(s, stage, ch), channels.contains(int(ch)) ? 1024 : 0);
        }
    }

    // The message ends three bytes before its entries do, and the bytes after
    // its end would make it look whole: they must not be read.
    void shortMessageIsNotReadPastItsEnd() {
        LinkHarness link;
        const QByteArray memory = Hex("e3020f020005000018ff000828ff");
        ReceiveGain(link.ctx, QByteArray::fromRawData(memory.constData(), 10));
        QCOMPARE(link.log.entries, LogEntries{GainFault});
        QCOMPARE(link.state.OutputGains[5].DspOutput, int16_t(0));
    }
};

QTEST_GUILESS_MAIN(GainMessagesTest)
#include "GainMessagesTest.moc"
