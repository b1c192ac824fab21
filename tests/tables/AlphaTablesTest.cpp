// The alpha table: names, counts, link-table sizes, relabelling and the
// request sent again after a damaged table.
#include <QtTest>

#include "AlphaTables.h"
#include "LinkHarness.h"

namespace {
// Two 4-character labels, "Mic1" (sort 0) and "Mic2" (sort 1).
const QByteArray SourceMics = Hex("FC 0A 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 26 FF");
const QByteArray DestinationMics = Hex("FC14 04 0200 0000 4D696331 0000 4D696332 0100 30 FF");
const QByteArray UnknownMics = Hex("FC1E 04 0200 0000 4D696331 0000 4D696332 0100 3B FF");

const QString Sources = QStringLiteral("Source Alpha Table");
const LogEntries LengthFault = OneEntry("TZ60 Message Length Error", Sources);
const LogEntries Fault = OneEntry("Error Processing Alpha Labels", "TZ60 Command Error");
}  // namespace

class AlphaTablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void acceptedTableReplacesOneSide_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("gainStage");
        QTest::addColumn<bool>("sources");
        QTest::addColumn<int>("labelCalls");
        QTest::newRow("sources, input stage") << SourceMics << 1 << true << 1;
        QTest::newRow("sources, dsp output") << SourceMics << 15 << true << 0;
        QTest::newRow("destinations, analog output") << DestinationMics << 3 << false << 1;
        QTest::newRow("destinations, dsp output") << DestinationMics << 15 << false << 1;
        QTest::newRow("destinations, input stage") << DestinationMics << 1 << false << 0;
        QTest::newRow("destinations, device ids") << DestinationMics << 20 << false << 0;
    }
    void acceptedTableReplacesOneSide() {
        QFETCH(QByteArray, message);
        QFETCH(int, gainStage);
        QFETCH(bool, sources);
        QFETCH(int, labelCalls);
        LinkHarness h;
        PanelState& s = h.state;
        s.GainStage = static_cast<int16_t>(gainStage);
        s.LastInfoRequest = InfoBits::StartUpRequest;
        (sources ? s.SourceLinks : s.DestinationLinks)[1] = 2;
        ProcessAlphaLabels(h.ctx, message);
        QCOMPARE(AsList(sources ? s.SourceAlpha : s.DestinationAlpha),
                 QStringList({"Mic1", "Mic2"}));
        QCOMPARE(AsList(sources ? s.SourceLinks : s.DestinationLinks), QList<int16_t>({0, 2}));
        QCOMPARE(sources ? s.SourceCount : s.DestinationCount, int16_t{2});
        QCOMPARE(sources ? s.DestinationCount : s.SourceCount, int16_t{0});
        const int32_t answered = sources ? InfoBits::SourceNames : InfoBits::DestinationNames;
        QCOMPARE(s.LastInfoRequest, InfoBits::StartUpRequest & ~answered);
        QCOMPARE(h.view.labelCalls, labelCalls);
        QVERIFY(h.log.entries.isEmpty());
    }

    // Decoding starts at the first label F. An unknown kind stores nothing and
    // clears every request bit; the destination side never changes here.
    void decodesFromFirstLabelOn_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<LogEntries>("log");
        QTest::addColumn<int>("bitsLeft");
        const int32_t sourceAnswered = InfoBits::StartUpRequest & ~InfoBits::SourceNames;
        // Label 0 holds a tab and sort value 5000, both logged only if it were decoded.
        QTest::newRow("first label 1")
            << Hex("FC0A 04 0200 0100 4D096331 0827 4D696332 0100 76 FF")
            << QStringList({"", "Mic2"}) << LogEntries() << sourceAnswered;
        QTest::newRow("tab and delete")
            << Hex("FC0A 04 0200 0000 4D096331 0000 4D69637F 0100 13 FF")
            << QStringList({"M.c1", "Mic."})
            << LogEntries({{"Invalid Character in Alpha Label - Chr(9) Label #1", Sources},
                           {"Invalid Character in Alpha Label - Chr(127) Label #2", Sources}})
            << sourceAnswered;
        // Blank and tilde end the printable range; 4096 is the largest sort value.
        QTest::newRow("range ends and sort values")
            << Hex("FC0A 04 0200 0000 207E1F41 0020 4D696332 0120 1A FF")
            << QStringList({" ~.A", "Mic2"})
            << LogEntries({{"Invalid Character in Alpha Label - Chr(31) Label #1", Sources},
                           {"Invalid Sort value 2 (4097)", Sources}})
            << sourceAnswered;
        // From label 1 on: label 0's sort value 5 goes unread.
        QTest::newRow("unknown kind")
            << Hex("FC1E 04 0200 0100 4D696331 0500 4D696332 0100 40 FF") << QStringList()
            << OneEntry("Invalid Sort value 2 (1)", "Unknown Alpha Table") << 0;
    }
    void decodesFromFirstLabelOn() {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, labels);
        QFETCH(LogEntries, log);
        QFETCH(int, bitsLeft);
        LinkHarness h;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;
        ProcessAlphaLabels(h.ctx, message);
        QCOMPARE(AsList(h.state.SourceAlpha), labels);
        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.state.LastInfoRequest, bitsLeft);
        QCOMPARE(h.state.DestinationAlpha, std::vector<QString>(PanelState::InitialChannels));
        QCOMPARE(h.state.DestinationCount, int16_t{0});
    }

    // Nothing but the log and a fresh request changes; a label count of 0 only
    // leaves the names as one empty label.
    void refusedTableChangesNothing_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<LogEntries>("log");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QStringList>("labels");
        const QStringList none;
        QTest::newRow("one byte too many")
            << Hex("FC0A 04 0200 0000 4D696331 0000 4D696332 0100 00 26 FF") << LengthFault
            << QByteArray() << none;
        QTest::newRow("one byte too few")
            << Hex("FC0A 04 0200 0000 4D696331 0000 4D6963 0100 74 FF") << LengthFault
            << QByteArray() << none;
        QTest::newRow("bad checksum, sources")
            << Hex("FC0A 04 0200 0000 4D696331 0000 4D696332 0100 27 FF")
            << OneEntry("TZ60 Check Sum Error", Sources)
            << Hex("F2 00 02 00 00 00 00 00 00 00 00 02 FF") << none;
        QTest::newRow("bad checksum, destinations")
            << Hex("FC14 04 0200 0000 4D696331 0000 4D696332 0100 31 FF")
            << OneEntry("TZ60 Check Sum Error", "Destination Alpha Table")
            << Hex("F2 00 04 00 00 00 00 00 00 00 00 04 FF") << none;
        QTest::newRow("bad checksum, unknown kind")
            << UnknownMics << OneEntry("TZ60 Check Sum Error", "Unknown Alpha Table")
            << Hex("F2 7F 00 00 00 00 00 00 00 00 00 7F FF") << none;
        QTest::newRow("no header") << Hex("FC 00 FF") << Fault << QByteArray() << none;
        QTest::newRow("label count 0")
            << Hex("FC 0A 04 00 00 00 00 0E FF") << Fault << QByteArray() << QStringList{""};
    }
    void refusedTableChangesNothing() {
        QFETCH(QByteArray, message);
        QFETCH(LogEntries, log);
        QFETCH(QByteArray, request);
        QFETCH(QStringList, labels);
        LinkHarness h;
        h.state.GainStage = GainStage::InputTrim;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;
        h.state.SourceCount = 4;
        ProcessAlphaLabels(h.ctx, message);
        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.sender.sent, request.isEmpty() ? QList<QByteArray>() : QList{request});
        if (request.isEmpty()) QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest);
        QCOMPARE(AsList(h.state.SourceAlpha), labels);
        QCOMPARE(h.state.SourceLinks.size(), size_t{PanelState::InitialChannels});
        QCOMPARE(h.state.SourceCount, int16_t{4});
        QCOMPARE(h.view.labelCalls, 0);
    }

    // Once every bit is set, a damaged unknown table is not asked for again.
    void damagedUnknownTableAsksForEverythingOnce() {
        LinkHarness h;
        ProcessAlphaLabels(h.ctx, UnknownMics);
        ProcessAlphaLabels(h.ctx, UnknownMics);
        QCOMPARE(h.sender.sent.size(), 1);
    }

    void smallerTableKeepsTheCount() {
        LinkHarness h;
        ProcessAlphaLabels(h.ctx, SourceMics);
        ProcessAlphaLabels(h.ctx, Hex("FC 0A 03 01 00 00 00 41 42 43 00 00 54 FF"));
        QCOMPARE(AsList(h.state.SourceAlpha), QStringList({"ABC"}));
        QCOMPARE(h.state.SourceLinks.size(), size_t{1});
        QCOMPARE(h.state.SourceCount, int16_t{2});
        ProcessAlphaLabels(h.ctx, Hex("FC0A 02 0300 0000 6161 0000 6262 0000 6363 0000 5B FF"));
        QCOMPARE(h.state.SourceCount, int16_t{3});
    }

    void encoderMatchesTheDecoder() {
        QCOMPARE(EncodeAlphaTable(10, 4, 0, {{"Mic1", 0}, {"Mic2", 1}}), SourceMics);
        LinkHarness h;
        ProcessAlphaLabels(h.ctx,
                           EncodeAlphaTable(20, 5, 1, {{"L", 3}, {"R", 4096}, {"Centre", 7}}));
        QCOMPARE(AsList(h.state.DestinationAlpha), QStringList({"", "R    ", "Centr"}));
        QVERIFY(h.log.entries.isEmpty());
    }
};

QTEST_APPLESS_MAIN(AlphaTablesTest)
#include "AlphaTablesTest.moc"
