// The links message: whole and partial updates of the stereo-link tables,
// the request bits they answer, and the relabelling that follows.
#include <QtTest>

#include "LinkHarness.h"
#include "LinkTables.h"

namespace {
// Source links of channels 5 and 6: linked, not linked.
const QByteArray SourcesFiveSix = Hex("FA 0A 02 00 05 00 01 00 12 FF");

const QString Sources = QStringLiteral("Source Links");
const LogEntries Fault = OneEntry("Error Receiving Advanced Gain", "Switcher Message Error");

using Links = QList<int16_t>;
Links With(Links table, std::initializer_list<QPair<int, int16_t>> values) {
    for (const auto& [channel, value] : values) table[channel] = value;
    return table;
}
const Links Unlinked(PanelState::InitialChannels, 0);
}  // namespace

class LinkTablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A run at least as long as the switcher's side replaces the table, each
    // value still on its own channel; a shorter run updates in place. Tables
    // start as at start-up, with source channel 1 linked.
    void storesLinks_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("count");  // of sources and of destinations
        QTest::addColumn<Links>("sources");
        QTest::addColumn<Links>("destinations");
        QTest::addColumn<LogEntries>("log");
        QTest::addColumn<int>("answered");
        const Links before = With(Unlinked, {{1, 2}});
        const Links whole{0, 0, 0, 0, 0, 1, 0};
        const int src = InfoBits::SourceLinks;
        QTest::newRow("partial") << SourcesFiveSix << 100 << With(before, {{5, 1}}) << Unlinked
                                 << LogEntries() << src;
        QTest::newRow("whole from channel 5")
            << SourcesFiveSix << 2 << whole << Unlinked << LogEntries() << src;
        QTest::newRow("whole before any alpha table")
            << SourcesFiveSix << 0 << whole << Unlinked << LogEntries() << src;
        QTest::newRow("whole from channel 0") << Hex("FA 0A 02 00 00 00 01 03 10 FF") << 2
                                              << Links{1, 3} << Unlinked << LogEntries() << src;
        QTest::newRow("4 at the third position")
            << Hex("FA 0A 03 00 00 00 01 02 04 14 FF") << 100 << With(before, {{0, 1}}) << Unlinked
            << OneEntry("Invalid link value 3 (4)", Sources) << src;
        QTest::newRow("3 kept, 127 unlinked")
            << Hex("FA 0A 03 00 00 00 03 7F 00 0F FF") << 100 << With(before, {{0, 3}, {1, 0}})
            << Unlinked << OneEntry("Invalid link value 2 (127)", Sources) << src;
        QTest::newRow("destinations")
            << Hex("FA 14 02 00 05 00 01 00 1C FF") << 100 << before << With(Unlinked, {{5, 1}})
            << LogEntries() << int(InfoBits::DestinationLinks);
        QTest::newRow("kind 30 stores nothing")
            << Hex("FA 1E 02 00 05 00 01 09 2F FF") << 100 << before << Unlinked
            << OneEntry("Invalid link value 2 (9)", "Destination Links") << 0;
    }
    void storesLinks() {
        QFETCH(QByteArray, message);
        QFETCH(int, count);
        QFETCH(Links, sources);
        QFETCH(Links, destinations);
        QFETCH(LogEntries, log);
        QFETCH(int, answered);
        LinkHarness h;
        h.state.SourceCount = h.state.DestinationCount = static_cast<int16_t>(count);
        h.state.SourceLinks[1] = 2;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;
        ReceiveLinks(h.ctx, message);
        QCOMPARE(AsList(h.state.SourceLinks), sources);
        QCOMPARE(AsList(h.state.DestinationLinks), destinations);
        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest & ~answered);
        QCOMPARE(h.view.labelCalls, 1);
    }

    // The last row: a smaller second alpha table left the links shorter than the count.
    void refusedMessagesChangeNothing_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("tableSize");
        QTest::addColumn<LogEntries>("log");
        const int start = PanelState::InitialChannels;
        const LogEntries lengthFault = OneEntry("Message Length Error", Sources);
        QTest::newRow("bad checksum") << Hex("FA 0A 02 00 05 00 01 00 13 FF") << start
                                      << OneEntry("Check Sum Error", Sources);
        QTest::newRow("bad checksum, unknown kind")
            << Hex("FA 1E 02 00 05 00 01 00 27 FF") << start
            << OneEntry("Check Sum Error", "Destination Links");
        QTest::newRow("one byte too many")
            << Hex("FA 0A 02 00 05 00 01 00 00 12 FF") << start << lengthFault;
        QTest::newRow("one byte too few")
            << Hex("FA 0A 02 00 05 00 01 12 FF") << start << lengthFault;
        QTest::newRow("count of 0") << Hex("FA 0A 00 00 00 00 0A FF") << start << Fault;
        QTest::newRow("command byte only") << Hex("FA") << start << Fault;
        QTest::newRow("partial past the table end") << SourcesFiveSix << 6 << Fault;
    }
    void refusedMessagesChangeNothing() {
        QFETCH(QByteArray, message);
        QFETCH(int, tableSize);
        QFETCH(LogEntries, log);
        LinkHarness h;
        h.state.SourceCount = 100;
        h.state.SourceLinks.resize(static_cast<size_t>(tableSize));
        h.state.LastInfoRequest = InfoBits::StartUpRequest;
        ReceiveLinks(h.ctx, message);
        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.state.SourceLinks.size(), static_cast<size_t>(tableSize));
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest);
        QCOMPARE(h.view.labelCalls, 0);
    }

    void encoderMatchesTheDecoder() {
        QCOMPARE(EncodeLinks(10, 5, {1, 0}), SourcesFiveSix);
        LinkHarness h;
        h.state.DestinationCount = 4;
        ReceiveLinks(h.ctx, EncodeLinks(20, 0, {0, 1, 2, 3}));
        QCOMPARE(AsList(h.state.DestinationLinks), Links({0, 1, 2, 3}));
    }
};

QTEST_APPLESS_MAIN(LinkTablesTest)
#include "LinkTablesTest.moc"
