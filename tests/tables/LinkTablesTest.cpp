// The links message: whole and partial updates of the stereo-link tables,
// the request bits they answer, and the relabelling that follows.
#include <QtTest>

#include "LinkTables.h"
#include "TableHarness.h"

namespace {

// Source links of channels 5 and 6: linked, not linked.
const QByteArray SourcesFiveSix = Hex("FA 0A 02 00 05 00 01 00 12 FF");

const QString SourceLinksName = QStringLiteral("Source Links");
const LogEntries Fault = OneEntry("Error Receiving Advanced Gain", "Switcher Message Error");

QList<int16_t> Unlinked(int size) { return QList<int16_t>(size, 0); }

QList<int16_t> With(QList<int16_t> table, std::initializer_list<QPair<int, int16_t>> values) {
    for (const auto& [channel, value] : values) table[channel] = value;
    return table;
}

}  // namespace

class LinkTablesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A run at least as long as the switcher's side replaces the table, each
    // value still on its own channel; a shorter run updates in place. The
    // table starts as the start-up one with channel 1 linked.
    void storesSourceLinks_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("sourceCount");
        QTest::addColumn<QList<int16_t>>("table");
        QTest::addColumn<LogEntries>("log");
        const QList<int16_t> before = With(Unlinked(PanelState::InitialChannels), {{1, 2}});
        QTest::newRow("partial") << SourcesFiveSix << 100 << With(before, {{5, 1}}) << LogEntries();
        QTest::newRow("whole from channel 5")
            << SourcesFiveSix << 2 << QList<int16_t>({0, 0, 0, 0, 0, 1, 0}) << LogEntries();
        QTest::newRow("whole before any alpha table")
            << SourcesFiveSix << 0 << QList<int16_t>({0, 0, 0, 0, 0, 1, 0}) << LogEntries();
        QTest::newRow("whole from channel 0")
            << Hex("FA 0A 02 00 00 00 01 03 10 FF") << 2 << QList<int16_t>({1, 3}) << LogEntries();
        QTest::newRow("4 at the third position")
            << Hex("FA 0A 03 00 00 00 01 02 04 14 FF") << 100 << With(before, {{0, 1}})
            << OneEntry("Invalid link value 3 (4)", SourceLinksName);
        QTest::newRow("3 kept, 127 unlinked")
            << Hex("FA 0A 03 00 00 00 03 7F 00 0F FF") << 100 << With(before, {{0, 3}, {1, 0}})
            << OneEntry("Invalid link value 2 (127)", SourceLinksName);
    }
    void storesSourceLinks() {
        QFETCH(QByteArray, message);
        QFETCH(int, sourceCount);
        QFETCH(QList<int16_t>, table);
        QFETCH(LogEntries, log);
        TableHarness h;
        h.state.SourceCount = static_cast<int16_t>(sourceCount);
        h.state.SourceLinks[1] = 2;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;

        ReceiveLinks(h.ctx, message);

        QCOMPARE(AsList(h.state.SourceLinks), table);
        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest & ~InfoBits::SourceLinks);
        QCOMPARE(h.view.labelCalls, 1);
    }

    void destinationLinksAnswerTheirOwnBit() {
        TableHarness h;
        h.state.DestinationCount = 100;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;

        ReceiveLinks(h.ctx, Hex("FA 14 02 00 05 00 01 00 1C FF"));

        QCOMPARE(h.state.DestinationLinks[5], int16_t{1});
        QCOMPARE(AsList(h.state.SourceLinks), Unlinked(PanelState::InitialChannels));
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest & ~InfoBits::DestinationLinks);
    }

    void unknownKindOnlyRelabels() {
        TableHarness h;
        h.state.SourceCount = 100;
        h.state.DestinationCount = 100;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;

        ReceiveLinks(h.ctx, Hex("FA 1E 02 00 05 00 01 00 26 FF"));
        ReceiveLinks(h.ctx, Hex("FA 1E 01 00 00 00 09 28 FF"));

        QCOMPARE(AsList(h.state.SourceLinks), Unlinked(PanelState::InitialChannels));
        QCOMPARE(AsList(h.state.DestinationLinks), Unlinked(PanelState::InitialChannels));
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest);
        QCOMPARE(h.view.labelCalls, 2);
        QCOMPARE(h.log.entries, OneEntry("Invalid link value 1 (9)", "Destination Links"));
    }

    // The last row: a smaller second alpha table left the links shorter than the count.
    void refusedMessagesChangeNothing_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("tableSize");
        QTest::addColumn<LogEntries>("log");
        const int start = PanelState::InitialChannels;
        QTest::newRow("bad checksum") << Hex("FA 0A 02 00 05 00 01 00 13 FF") << start
                                      << OneEntry("Check Sum Error", SourceLinksName);
        QTest::newRow("bad checksum, unknown kind")
            << Hex("FA 1E 02 00 05 00 01 00 27 FF") << start
            << OneEntry("Check Sum Error", "Destination Links");
        QTest::newRow("one byte too many") << Hex("FA 0A 02 00 05 00 01 00 00 12 FF") << start
                                           << OneEntry("Message Length Error", SourceLinksName);
        QTest::newRow("one byte too few") << Hex("FA 0A 02 00 05 00 01 12 FF") << start
                                          << OneEntry("Message Length Error", SourceLinksName);
        QTest::newRow("count of 0") << Hex("FA 0A 00 00 00 00 0A FF") << start << Fault;
        QTest::newRow("command byte only") << Hex("FA") << start << Fault;
        QTest::newRow("partial past the table end") << SourcesFiveSix << 6 << Fault;
    }
    void refusedMessagesChangeNothing() {
        QFETCH(QByteArray, message);
        QFETCH(int, tableSize);
        QFETCH(LogEntries, log);
        TableHarness h;
        h.state.SourceCount = 100;
        h.state.SourceLinks.resize(static_cast<size_t>(tableSize));
        h.state.LastInfoRequest = InfoBits::StartUpRequest;

        ReceiveLinks(h.ctx, message);

        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.state.SourceLinks.size(), static_cast<size_t>(tableSize));
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest);
        QCOMPARE(h.view.labelCalls, 0);
    }

    void encoderBuildsTheExampleMessage() { QCOMPARE(EncodeLinks(10, 5, {1, 0}), SourcesFiveSix); }

    void encodedMessageDecodesToTheSameValues() {
        TableHarness h;
        h.state.DestinationCount = 4;

        ReceiveLinks(h.ctx, EncodeLinks(20, 0, {0, 1, 2, 3}));

        QCOMPARE(AsList(h.state.DestinationLinks), QList<int16_t>({0, 1, 2, 3}));
    }
};

QTEST_APPLESS_MAIN(LinkTablesTest)
#include "LinkTablesTest.moc"
