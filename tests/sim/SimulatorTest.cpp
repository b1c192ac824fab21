// The switcher's side of the wire as the simulator speaks it: reading what a
// panel sends (against the protocol's own example bytes), its gain limit and
// model of the switcher, and what it answers to an information request.
#include <QtTest>

#include "GainMessages.h"
#include "InfoRequest.h"
#include "ModelMessages.h"
#include "SimOptions.h"
#include "TypeRequest.h"

using Codes = std::vector<int16_t>;
Q_DECLARE_METATYPE(Codes)

namespace {
QByteArray hex(const char* text) { return QByteArray::fromHex(text); }
}  // namespace

class SimulatorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every valid row is a change at stage 15 from channel 5; a report is
    // written in the layout of a change without an extra pair.
    void gainChangeIsReadAndReportWritten_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<Codes>("codes");  // none: not a gain change
        QTest::addColumn<int>("extra");    // -1: none
        const auto row = [](const char* name, const char* bytes, const Codes& codes = {},
                            int extra = -1) {
            QTest::newRow(name) << hex(bytes) << codes << extra;
        };
        row("one channel at 0 dB", "e3020f0100050000081fff", {1024});
        row("stereo pair", "e3020f020005000008000828ff", {1024, 1024});
        row("one channel with an extra pair", "e3020f010005000008030123ff", {1024}, 131);
        row("bad checksum", "e3020f0100050000081eff");
        row("count 0", "e3020f0000050016ff");
        row("extra pair after two channels", "e3020f0200050000080008000028ff");
        row("shorter than it declares", "e3020f03000500000821ff");
        row("mix stage", "e3020a010005000000000012ff");
        row("cut to the command byte", "e3");
    }
    void gainChangeIsReadAndReportWritten() {
        QFETCH(QByteArray, message);
        QFETCH(Codes, codes);
        QFETCH(int, extra);
        const std::optional<GainChange> change = decodeGainChange(message);
        QCOMPARE(change.has_value(), !codes.empty());
        if (!change) return;
        QCOMPARE(int{change->stage}, 15);
        QCOMPARE(change->firstChannel, 5);
        QCOMPARE(change->codes, codes);
        QCOMPARE(change->extra.value_or(-1), extra);
        if (extra == -1) QCOMPARE(encodeGainReport(15, 5, codes), message);
    }

    void requestsAndTypeExchange() {
        QCOMPARE(decodeInfoRequest(hex("f2001e020000000000000020ff")).value_or(-1), 36608);
        // Every bit set arrives without its sign.
        QCOMPARE(decodeInfoRequest(hex("f27f0000000000000000007fff")).value_or(-1), 127);
        QVERIFY(!decodeInfoRequest(hex("f2001e020000000000000021ff")));  // bad checksum
        QVERIFY(!decodeInfoRequest(hex("f2001e0200000000000020ff")));    // short
        QCOMPARE(encodeTypeRequest(), hex("816464ff"));
        QCOMPARE(decodeTypeReply(hex("810a010bff")).value_or(""), hex("0a01"));
        QVERIFY(!decodeTypeReply(hex("810a010cff")));
    }

    // Sources MIC 1-4 and CD L; destinations PGM L/R, MIX 1 ...
    void modelKeepsToItsChannelsAndLimit() {
        QCOMPARE(parseGainLimit("+10 dB").value_or(-1), 1124);
        QCOMPARE(parseGainLimit("-3.5db").value_or(-1), 989);
        QVERIFY(!parseGainLimit("16384"));                 // beyond a 7-bit pair
        QVERIFY(!parseGainLimit("-103dB"));                // below code 0
        for (const char* help : {"--help", "--help-all"})  // both print help and start nothing
            QVERIFY(parseSimOptions({"switcher-sim", help}).helpRequested);
        SwitcherModel model(5, 8, 1124);
        QCOMPARE(model.apply(15, 2, 1264).value_or(-1), int16_t(1124));
        QCOMPARE(model.apply(15, 2, -5).value_or(-1), int16_t(0));
        QCOMPARE(model.gains({15, 2, 1}), std::vector<int16_t>{0});
        QVERIFY(!model.apply(1, 5, 900));        // a sixth source
        QVERIFY(!model.apply(3, -1, 900));       // below the first channel
        QVERIFY(!model.apply(20, 0, 900));       // device IDs are no gain stage
        QCOMPARE(model.pairOf(15, 1).first, 0);  // PGM R goes with PGM L
        QCOMPARE(model.pairOf(15, 1).count, 2);
        QCOMPARE(model.pairOf(1, 4).count, 1);  // CD L without its right half
    }

    // The tables asked for, then always the crosspoint map and the gains of
    // the three shown stages: each message's command and kind.
    void answerFollowsTheRequestedBits() {
        const auto answer = [](int code) {
            QByteArray seen;
            for (const Outgoing& out : answerInfoRequest(SwitcherModel(8, 8, 16383), code, false))
                seen += out.bytes.left(2);
            return seen.toHex();
        };
        QCOMPARE(answer(36608), "fc0afc14fa0afa14f600e302e302e302");  // start-up
        QCOMPARE(answer(512), "fc14f600e302e302e302");                // destination names again
        QCOMPARE(answer(127), "f600e302e302e302");                    // no table bits
    }

    void advancedReportsKeepToTheEntryLimit() {
        const std::vector<Outgoing> reports =
            gainReports(SwitcherModel(300, 8, 16383), {1, 0, 300}, true);
        QCOMPARE(reports.size(), size_t(3));
        QCOMPARE(reports[0].bytes.at(3), char(127));
        QCOMPARE(reports[2].bytes.at(3), char(300 - 2 * 127));
    }
};

QTEST_GUILESS_MAIN(SimulatorTest)
#include "SimulatorTest.moc"
