// The crosspoint map: sources listed per destination, the slot numbering,
// and the limits of the map (1025 destinations, 1024 sources, 64 slots).
#include <QtTest>

#include "CrosspointMap.h"
#include "LinkHarness.h"

namespace {
// Destination 3 fed by source 0 at 1024 and source 5 at 1000.
const QByteArray DestinationThree = Hex("F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 02 FF");

const LogEntries Fault = OneEntry("Error Processing Crosspoint Map", "Switcher Message Error");

// An entry in short: its sources listed, its used slots as (slot, source + 1,
// value), its entry count and header byte; "untouched" for a never-stored one.
QString Summary(const CrosspointEntry& entry) {
    if (entry.Sources.isEmpty()) return QStringLiteral("untouched");
    QStringList listed, used;
    for (int s = 0; s < entry.Sources.size(); ++s) {
        if (entry.Sources[s] == QLatin1Char('1')) listed << QString::number(s);
    }
    for (size_t j = 0; j < entry.SourceNumber.size(); ++j) {
        if (entry.SourceNumber[j] == 0 && entry.SourceValue[j] == 0) continue;
        used << QStringLiteral("%1:%2=%3")
                    .arg(j)
                    .arg(entry.SourceNumber[j])
                    .arg(entry.SourceValue[j]);
    }
    return QStringLiteral("sources %1 slots %2 count %3 header %4")
        .arg(listed.join(','), used.join(','))
        .arg(entry.EntryCount)
        .arg(entry.HeaderByte);
}

// One block of `repeats` entries "source 1, value 2" after `head`, then `tail`.
QByteArray RepeatedEntries(const char* head, int repeats, const char* tail) {
    return Hex(head) + Hex("01 00 02 00").repeated(repeats) + Hex(tail);
}
}  // namespace

class CrosspointMapTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A refused message stores nothing, and a fault keeps what came before it.
    void storesDestinations_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<LogEntries>("log");
        const LogEntries none;
        QTest::newRow("example") << DestinationThree << 3
                                 << "sources 0,5 slots 0:1=1024,1:6=1000 count 2 header 0" << none;
        QTest::newRow("neighbour untouched") << DestinationThree << 4 << "untouched" << none;
        // Sources 1024, 7 and 1500 for destination 10, header byte 5.
        QTest::newRow("sources 1024 and 1500 skipped")
            << Hex("F6 00 01 00 0A 00 03 00 05 00 08 01 00 07 00 05 00 5C 0B 02 00 11 FF") << 10
            << "sources 7 slots 1:8=5 count 3 header 5" << none;
        // Destinations 1023 (source 2) and 1024 (source 4, header byte 1).
        QTest::newRow("destination 1024 without sources")
            << Hex("F6 00 02 00 7F 07 01 00 00 02 00 03 00 01 00 01 04 00 09 00 1D FF") << 1024
            << "sources  slots  count 1 header 1" << none;
        // The same and a third block for 1025: what came before stays stored.
        const QByteArray past =
            Hex("F6 00 03 00 7F 07 01 00 00 02 00 03 00 01 00 01 04 00 09 00 00 00 00 1E FF");
        QTest::newRow("destination 1025, earlier kept")
            << past << 1023 << "sources 2 slots 0:3=3 count 1 header 0" << Fault;
        QTest::newRow("destination 1025, 1024 kept")
            << past << 1024 << "sources  slots  count 1 header 1" << Fault;
        QTest::newRow("65th entry usable")
            << RepeatedEntries("F6 00 01 00 00 00 41 00 00", 64, "03 00 04 00 09 FF") << 0
            << "untouched" << Fault;
        QStringList everySlot;  // source 1, stored as 2, with value 2
        for (int j = 0; j < CrosspointEntry::SourceSlots; ++j)
            everySlot << QStringLiteral("%1:2=2").arg(j);
        QTest::newRow("65th entry skipped")
            << RepeatedEntries("F6 00 01 00 00 00 41 00 00", 64, "00 08 04 00 0E FF") << 0
            << "sources 1 slots " + everySlot.join(',') + " count 65 header 0" << none;
        QTest::newRow("255 entries") << RepeatedEntries("F6 00 01 00 00 08 7F 01 00", 255, "06 FF")
                                     << 1024 << "sources  slots  count 255 header 0" << none;
        QTest::newRow("256 entries") << RepeatedEntries("F6 00 01 00 00 08 00 02 00", 256, "0B FF")
                                     << 1024 << "untouched" << Fault;
        QTest::newRow("bad checksum")
            << Hex("F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 03 FF") << 3 << "untouched"
            << none;
        QTest::newRow("one byte too many")
            << Hex("F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 00 02 FF") << 3
            << "untouched" << none;
        QTest::newRow("blocks run into the checksum")
            << Hex("F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 7B FF") << 3 << "untouched"
            << Fault;
        QTest::newRow("count of 0") << Hex("F6 00 00 00 03 00 03 FF") << 3 << "untouched" << Fault;
    }
    void storesDestinations() {
        QFETCH(QByteArray, message);
        QFETCH(int, destination);
        QFETCH(QString, entry);
        QFETCH(LogEntries, log);
        LinkHarness h;
        ProcessCrosspointMap(h.ctx, message);
        QCOMPARE(Summary(h.state.CrosspointMap.at(static_cast<size_t>(destination))), entry);
        QCOMPARE(h.log.entries, log);
    }

    void encoderMatchesTheDecoder() {
        QCOMPARE(EncodeCrosspointMap(3, {{0, {{0, 1024}, {5, 1000}}}}), DestinationThree);
        LinkHarness h;
        ProcessCrosspointMap(h.ctx, EncodeCrosspointMap(500, {{7, {{1023, 16383}}}, {0, {}}}));
        QCOMPARE(Summary(h.state.CrosspointMap[500]),
                 QStringLiteral("sources 1023 slots 0:1024=16383 count 1 header 7"));
        QCOMPARE(Summary(h.state.CrosspointMap[501]),
                 QStringLiteral("sources  slots  count 0 header 0"));
    }
};

QTEST_APPLESS_MAIN(CrosspointMapTest)
#include "CrosspointMapTest.moc"
