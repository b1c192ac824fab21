// The advanced gain message: what each stage stores, every field it logs,
// entry lengths by flags, and when the faders are refreshed.
#include <QtTest>

#include "AdvancedGain.h"
#include "LinkHarness.h"

namespace {
// Flags 0, stage 15, code 1024, destination 5.
const QByteArray DspZeroDbOnFive = Hex("E0 00 40 01 00 0F 00 08 05 00 5D FF");

const QString Message = QStringLiteral("Advanced Gain Message");
const LogEntries Fault = OneEntry("Error Receiving Advanced Gain", "Switcher Message Error");
const QString Nothing = QStringLiteral("0 0 0");

// Channel 5's InputSensitivity, DspOutput and FinalOutput.
QString GainsOfFive(const PanelState& state) {
    return QStringLiteral("%1 %2 %3")
        .arg(state.InputGains[5].InputSensitivity)
        .arg(state.OutputGains[5].DspOutput)
        .arg(state.OutputGains[5].FinalOutput);
}
}  // namespace

class AdvancedGainTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every row is one entry for channel 5 (4097 where named) with both counts
    // at 6 unless named; every message but a damaged one refreshes the faders.
    void decodesOneEntry_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("gains");
        QTest::addColumn<LogEntries>("log");
        const auto row = [](const char* name, QByteArray message, int count, QString gains,
                            LogEntries log) {
            QTest::newRow(name) << message << count << gains << log;
        };
        const auto logs = [](const QString& description, const QString& location = Message) {
            return OneEntry(description, location);
        };
        const auto channelLog = [](const char* location) {
            return OneEntry("Invalid channel - 4098", location);
        };
        row("example", DspZeroDbOnFive, 6, "0 1024 0", {});
        row("example, five destinations", DspZeroDbOnFive, 5, Nothing, {});
        row("example, no alpha table", DspZeroDbOnFive, 0, Nothing, {});
        row("stage 1", Hex("E0 00 40 01 00 01 00 08 05 00 4F FF"), 6, "1024 0 0", {});
        row("stage 3", Hex("E0 00 40 01 00 03 00 08 05 00 51 FF"), 6, "0 0 1024", {});
        row("stage 16", Hex("E0 00 40 01 00 10 00 08 05 00 5E FF"), 6, "0 1024 0", {});
        row("type 0x41", Hex("E0 00 41 01 00 0F 00 08 05 00 5E FF"), 6, "0 1024 0",
            logs("Unexpected message type (65)"));
        row("stage 17", Hex("E0 00 40 01 00 11 00 08 05 00 5F FF"), 6, Nothing,
            logs("Unexpected Gain Satge (17)"));
        row("stage 30", Hex("E0 00 40 01 00 1E 00 08 05 00 6C FF"), 6, Nothing,
            logs("Invalid Gain Satge (30)"));
        row("gain 2024", Hex("E0 00 40 01 00 0F 68 0F 05 00 4C FF"), 6, "0 2024 0", {});
        row("gain 2025", Hex("E0 00 40 01 00 0F 69 0F 05 00 4D FF"), 6, "0 1024 0",
            logs("Invalid Gain (2025) Gain Stage: 15"));
        row("fade time", Hex("E0 00 40 01 04 0F 00 08 05 00 03 64 FF"), 6, "0 1024 0",
            logs("Unexpected Fade Time"));
        row("bytes after the entries", Hex("E0 00 40 01 00 01 00 08 05 00 55 55 79 FF"), 6,
            "1024 0 0", {});
        row("no entries", Hex("E0 00 40 00 40 FF"), 6, Nothing, {});
        // Channel 4096 is the last one that passes; the log names the 1-based channel.
        row("stage 0, channel 4096", Hex("E0 00 40 01 00 00 00 08 00 20 69 FF"), 6, Nothing, {});
        row("stage 0, channel 4097", Hex("E0 00 40 01 00 00 00 08 01 20 6A FF"), 6, Nothing,
            channelLog("Input Trim Gain"));
        row("stage 1, channel 4097", Hex("E0 00 40 01 00 01 00 08 01 20 6B FF"), 6, Nothing,
            channelLog("Input Sensitivity"));
        row("stage 2, channel 4097", Hex("E0 00 40 01 00 02 00 08 01 20 6C FF"), 6, Nothing,
            channelLog("Master Output Gain"));
        row("stage 3, channel 4097", Hex("E0 00 40 01 00 03 00 08 01 20 6D FF"), 6, Nothing, {});
        row("stage 10, channel 4097", Hex("E0 00 40 01 00 0A 00 08 01 20 74 FF"), 6, Nothing,
            channelLog("DSP Mix Gain"));
        row("stage 16, channel 4097", Hex("E0 00 40 01 00 10 00 08 01 20 7A FF"), 6, Nothing,
            channelLog("DSP Output Gain"));
        row("bad checksum", Hex("E0 00 40 01 00 0F 00 08 05 00 5C FF"), 6, Nothing,
            logs("Check Sum Error"));
    }
    void decodesOneEntry() {
        QFETCH(QByteArray, message);
        QFETCH(int, count);
        QFETCH(QString, gains);
        QFETCH(LogEntries, log);
        LinkHarness h;
        h.state.SourceCount = h.state.DestinationCount = static_cast<int16_t>(count);
        ReceiveAdvancedGain(h.ctx, message);
        QCOMPARE(GainsOfFive(h.state), gains);
        QCOMPARE(h.log.entries, log);
        const bool dropped = log.size() == 1 && log[0].first == QStringLiteral("Check Sum Error");
        QCOMPARE(h.view.refreshRequests, dropped ? 0 : 1);
    }

    void highChannelIsStoredWhenDeclared() {
        LinkHarness h;
        h.state.SourceCount = 5000;
        h.state.InputGains.resize(5000);
        ReceiveAdvancedGain(h.ctx, Hex("E0 00 40 01 00 01 00 08 01 20 6B FF"));
        QCOMPARE(h.state.InputGains[4097].InputSensitivity, int16_t{1024});
    }

    // Entry 1: stage 15, code 1000, destination 5, with the flag's extra bytes;
    // entry 2 must start right after them: stage 3, code 900, destination 7.
    void flagsSetTheEntryLength_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("fadeEntries");
        QTest::newRow("flags 2, extra pair")
            << Hex("E0 00 40 02 02 0F 68 07 05 00 7F 7F 00 03 04 07 07 00 5A FF") << 0;
        QTest::newRow("flags 4, fade time")
            << Hex("E0 00 40 02 04 0F 68 07 05 00 7F 00 03 04 07 07 00 5D FF") << 1;
        QTest::newRow("flags 6, both")
            << Hex("E0 00 40 02 06 0F 68 07 05 00 7F 7F 7F 00 03 04 07 07 00 5D FF") << 1;
    }
    void flagsSetTheEntryLength() {
        QFETCH(QByteArray, message);
        QFETCH(int, fadeEntries);
        LinkHarness h;
        h.state.DestinationCount = 100;
        ReceiveAdvancedGain(h.ctx, message);
        QCOMPARE(h.state.OutputGains[5].DspOutput, int16_t{1000});
        QCOMPARE(h.state.OutputGains[7].FinalOutput, int16_t{900});
        QCOMPARE(h.log.entries.size(), fadeEntries);
    }

    // What was stored before the fault stays; nothing after it, and no refresh.
    void faultEndsTheMessage_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("gains");
        // Source 2000 is declared but lies beyond the gain table; source 6 follows it.
        QTest::newRow("entry beyond its table")
            << Hex("E0 00 40 03 00 01 00 08 05 00 00 01 00 08 50 0F 00 01 00 08 06 00 48 FF")
            << "1024 0 0";
        QTest::newRow("second entry missing")
            << Hex("E0 00 40 02 00 01 00 08 05 00 50 FF") << "1024 0 0";
        QTest::newRow("entry runs into the checksum")
            << Hex("E0 00 40 01 00 01 00 08 05 4F FF") << Nothing;
        QTest::newRow("no count") << Hex("E0 00 40 40 FF") << Nothing;
    }
    void faultEndsTheMessage() {
        QFETCH(QByteArray, message);
        QFETCH(QString, gains);
        LinkHarness h;
        h.state.SourceCount = 3000;
        ReceiveAdvancedGain(h.ctx, message);
        QCOMPARE(h.log.entries, Fault);
        QCOMPARE(GainsOfFive(h.state), gains);
        QCOMPARE(h.state.InputGains[6].InputSensitivity, int16_t{0});
        QCOMPARE(h.state.InputGains.size(), size_t{PanelState::InitialChannels});
        QCOMPARE(h.view.refreshRequests, 0);
    }

    // The extra pair and the fade byte are written where the decoder skips them.
    void encoderMatchesTheDecoder() {
        QCOMPARE(EncodeAdvancedGain({{0, 15, 1024, 5}}), DspZeroDbOnFive);
        LinkHarness h;
        h.state.SourceCount = h.state.DestinationCount = 100;
        const uint8_t both = AdvancedGainFlags::ExtraPair | AdvancedGainFlags::FadeTime;
        ReceiveAdvancedGain(h.ctx,
                            EncodeAdvancedGain({{both, 1, 900, 5, 16383, 127},
                                                {AdvancedGainFlags::ExtraPair, 3, 1100, 5, 1},
                                                {0, 16, 24, 5}}));
        QCOMPARE(GainsOfFive(h.state), QStringLiteral("900 24 1100"));
        QCOMPARE(h.log.entries, OneEntry("Unexpected Fade Time", Message));
    }
};

QTEST_APPLESS_MAIN(AdvancedGainTest)
#include "AdvancedGainTest.moc"
