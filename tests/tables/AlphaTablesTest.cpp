// The alpha table: names, counts, link-table sizes, relabelling and the
// request sent again after a damaged table.
#include <QtTest>

#include "AlphaTables.h"
#include "TableHarness.h"

namespace {

// Two 4-character labels, "Mic1" (sort 0) and "Mic2" (sort 1).
const QByteArray SourceMics = Hex("FC 0A 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 26 FF");
const QByteArray DestinationMics =
    Hex("FC 14 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 30 FF");

const QString SourceTable = QStringLiteral("Source Alpha Table");
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
        TableHarness h;
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

    void decodesFromFirstLabelOn_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<LogEntries>("log");
        // Label 0 holds a tab and sort value 5000, both logged only if it were decoded.
        QTest::newRow("first label 1")
            << Hex("FC 0A 04 02 00 01 00 4D 09 63 31 08 27 4D 69 63 32 01 00 76 FF")
            << QStringList({"", "Mic2"}) << LogEntries();
        QTest::newRow("tab and delete")
            << Hex("FC 0A 04 02 00 00 00 4D 09 63 31 00 00 4D 69 63 7F 01 00 13 FF")
            << QStringList({"M.c1", "Mic."})
            << LogEntries({{"Invalid Character in Alpha Label - Chr(9) Label #1", SourceTable},
                           {"Invalid Character in Alpha Label - Chr(127) Label #2", SourceTable}});
        // Blank and tilde end the printable range; 4096 is the largest sort value.
        QTest::newRow("range ends and sort values")
            << Hex("FC 0A 04 02 00 00 00 20 7E 1F 41 00 20 4D 69 63 32 01 20 1A FF")
            << QStringList({" ~.A", "Mic2"})
            << LogEntries({{"Invalid Character in Alpha Label - Chr(31) Label #1", SourceTable},
                           {"Invalid Sort value 2 (4097)", SourceTable}});
    }
    void decodesFromFirstLabelOn() {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, labels);
        QFETCH(LogEntries, log);
        TableHarness h;

        ProcessAlphaLabels(h.ctx, message);

        QCOMPARE(AsList(h.state.SourceAlpha), labels);
        QCOMPARE(h.log.entries, log);
    }

    void refusedTableChangesNothing_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<LogEntries>("log");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("one byte too many")
            << Hex("FC 0A 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 00 26 FF")
            << OneEntry("TZ60 Message Length Error", SourceTable) << QByteArray();
        QTest::newRow("one byte too few")
            << Hex("FC 0A 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 01 00 74 FF")
            << OneEntry("TZ60 Message Length Error", SourceTable) << QByteArray();
        QTest::newRow("bad checksum, sources")
            << Hex("FC 0A 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 27 FF")
            << OneEntry("TZ60 Check Sum Error", SourceTable)
            << Hex("F2 00 02 00 00 00 00 00 00 00 00 02 FF");
        QTest::newRow("bad checksum, destinations")
            << Hex("FC 14 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 31 FF")
            << OneEntry("TZ60 Check Sum Error", "Destination Alpha Table")
            << Hex("F2 00 04 00 00 00 00 00 00 00 00 04 FF");
        QTest::newRow("bad checksum, unknown kind")
            << Hex("FC 1E 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 3B FF")
            << OneEntry("TZ60 Check Sum Error", "Unknown Alpha Table")
            << Hex("F2 7F 00 00 00 00 00 00 00 00 00 7F FF");
        QTest::newRow("no header") << Hex("FC 00 FF") << Fault << QByteArray();
    }
    void refusedTableChangesNothing() {
        QFETCH(QByteArray, message);
        QFETCH(LogEntries, log);
        QFETCH(QByteArray, request);
        TableHarness h;
        h.state.GainStage = GainStage::InputTrim;

        ProcessAlphaLabels(h.ctx, message);

        QCOMPARE(h.log.entries, log);
        QCOMPARE(h.sender.sent, request.isEmpty() ? QList<QByteArray>() : QList{request});
        QVERIFY(h.state.SourceAlpha.empty());
        QCOMPARE(h.state.SourceLinks.size(), size_t{PanelState::InitialChannels});
        QCOMPARE(h.state.SourceCount, int16_t{0});
        QCOMPARE(h.view.labelCalls, 0);
    }

    void damagedUnknownTableAsksForEverythingOnce() {
        TableHarness h;
        const QByteArray damaged =
            Hex("FC 1E 04 02 00 00 00 4D 69 63 31 00 00 4D 69 63 32 01 00 3B FF");

        ProcessAlphaLabels(h.ctx, damaged);
        ProcessAlphaLabels(h.ctx, damaged);

        QCOMPARE(h.sender.sent.size(), 1);
        QCOMPARE(h.state.LastInfoRequest, -1);
    }

    void unknownKindStoresNothingAndClearsEveryBit() {
        TableHarness h;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;

        // From label 1 on; label 0's sort value 5 lies before it and goes unread.
        ProcessAlphaLabels(h.ctx,
                           Hex("FC 1E 04 02 00 01 00 4D 69 63 31 05 00 4D 69 63 32 01 00 40 FF"));

        QCOMPARE(h.log.entries, OneEntry("Invalid Sort value 2 (1)", "Unknown Alpha Table"));
        QCOMPARE(h.state.LastInfoRequest, 0);
        QVERIFY(h.state.SourceAlpha.empty());
        QCOMPARE(h.state.DestinationAlpha, std::vector<QString>(PanelState::InitialChannels));
        QCOMPARE(h.state.DestinationCount, int16_t{0});
    }

    void smallerTableKeepsTheCount() {
        TableHarness h;

        ProcessAlphaLabels(h.ctx, SourceMics);
        ProcessAlphaLabels(h.ctx, Hex("FC 0A 03 01 00 00 00 41 42 43 00 00 54 FF"));

        QCOMPARE(AsList(h.state.SourceAlpha), QStringList({"ABC"}));
        QCOMPARE(h.state.SourceLinks.size(), size_t{1});
        QCOMPARE(h.state.SourceCount, int16_t{2});

        ProcessAlphaLabels(h.ctx,
                           Hex("FC 0A 02 03 00 00 00 61 61 00 00 62 62 00 00 63 63 00 00 5B FF"));

        QCOMPARE(h.state.SourceCount, int16_t{3});
    }

    // No link table of no entries: the names become one empty label, and
    // neither the count, the links, the bits nor the faders change.
    void emptySourceTableIsAFault() {
        TableHarness h;
        h.state.GainStage = GainStage::InputTrim;
        h.state.LastInfoRequest = InfoBits::StartUpRequest;
        h.state.SourceCount = 4;

        ProcessAlphaLabels(h.ctx, Hex("FC 0A 04 00 00 00 00 0E FF"));

        QCOMPARE(h.log.entries, Fault);
        QCOMPARE(AsList(h.state.SourceAlpha), QStringList({""}));
        QCOMPARE(h.state.SourceLinks.size(), size_t{PanelState::InitialChannels});
        QCOMPARE(h.state.SourceCount, int16_t{4});
        QCOMPARE(h.state.LastInfoRequest, InfoBits::StartUpRequest);
        QCOMPARE(h.view.labelCalls, 0);
    }

    void encoderBuildsTheExampleTable() {
        QCOMPARE(EncodeAlphaTable(10, 4, 0, {{"Mic1", 0}, {"Mic2", 1}}), SourceMics);
    }

    void encodedTableDecodesToPaddedLabels() {
        TableHarness h;

        ProcessAlphaLabels(h.ctx,
                           EncodeAlphaTable(20, 5, 1, {{"L", 3}, {"R", 4096}, {"Centre", 7}}));

        QCOMPARE(AsList(h.state.DestinationAlpha), QStringList({"", "R    ", "Centr"}));
        QVERIFY(h.log.entries.isEmpty());
    }
};

QTEST_APPLESS_MAIN(AlphaTablesTest)
#include "AlphaTablesTest.moc"
