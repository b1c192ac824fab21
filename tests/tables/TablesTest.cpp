// The decoders and encoders of the switcher's tables: the alpha (name)
// tables, the stereo-link tables, the crosspoint map and the advanced gain
// message. A refused or damaged message is logged (or, where the switcher's
// own framing says so, dropped quietly) and changes nothing, or only what
// came before the fault.
#include <QtTest>

#include "AdvancedGain.h"
#include "AlphaTables.h"
#include "CrosspointMap.h"
#include "Dispatcher.h"
#include "LinkHarness.h"
#include "LinkTables.h"

namespace {
// Two 4-character labels, "Mic1" (sort 0) and "Mic2" (sort 1).
const char* const SourceMics = "FC0A 04 0200 0000 4D696331 0000 4D696332 0100 26 FF";
// Source links of channels 5 and 6: linked, not linked.
const char* const SourcesFiveSix = "FA 0A 02 00 05 00 01 00 12 FF";
// Destination 3 fed by source 0 at 1024 and source 5 at 1000.
const char* const DestinationThree = "F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 02 FF";
// Advanced gain: flags 0, stage 15, code 1024, destination 5.
const char* const DspZeroDbOnFive = "E0 00 40 01 00 0F 00 08 05 00 5D FF";

// A link table in full once it was resized, else only the channels set.
QString links(const std::vector<int16_t>& table) {
    const bool whole = table.size() != PanelState::InitialChannels;
    QStringList out;
    for (size_t i = 0; i < table.size(); ++i) {
        if (whole) out << QString::number(table[i]);
        if (!whole && table[i]) out << QStringLiteral("%1:%2").arg(i).arg(table[i]);
    }
    return out.join(',');
}

// A stored crosspoint entry: sources listed, used slots as slot:source+1=value,
// entry count and header byte.
QString crosspoint(const CrosspointEntry& entry) {
    QStringList listed, used;
    for (int s = 0; s < entry.Sources.size(); ++s) {
        if (entry.Sources[s] == QLatin1Char('1')) listed << QString::number(s);
    }
    for (size_t j = 0; j < entry.SourceNumber.size(); ++j) {
        const int16_t number = entry.SourceNumber[j], value = entry.SourceValue[j];
        if (number || value) used << QStringLiteral("%1:%2=%3").arg(j).arg(number).arg(value);
    }
    return QStringLiteral("sources %1 slots %2 count %3 header %4")
        .arg(listed.join(','), used.join(','))
        .arg(entry.EntryCount)
        .arg(entry.HeaderByte);
}

// What the messages changed: per side the names, links and count; the
// request bits still outstanding (hex; 8F00 at the start); each crosspoint
// entry stored; every gain not 0 ("dsp5=1024": destination 5's DSP output
// gain); relabels and refreshes; what was asked for again and what was logged.
QString changes(const LinkHarness& h, const PanelState& old) {
    const PanelState& s = h.state;
    QStringList out;
    const auto note = [&](bool changed, const QString& what) { out << (changed ? what : ""); };
    note(s.SourceAlpha != old.SourceAlpha, "src names " + asList(s.SourceAlpha).join(','));
    note(s.SourceLinks != old.SourceLinks, "src links " + links(s.SourceLinks));
    note(s.SourceCount != old.SourceCount, QStringLiteral("src count %1").arg(s.SourceCount));
    note(s.DestinationAlpha != old.DestinationAlpha,
         "dst names " + asList(s.DestinationAlpha).join(','));
    note(s.DestinationLinks != old.DestinationLinks, "dst links " + links(s.DestinationLinks));
    note(s.DestinationCount != old.DestinationCount,
         QStringLiteral("dst count %1").arg(s.DestinationCount));
    note(s.LastInfoRequest != old.LastInfoRequest,
         "bits " + QString::number(s.LastInfoRequest, 16));
    for (size_t d = 0; d < s.CrosspointMap.size(); ++d) {
        note(!s.CrosspointMap[d].Sources.isEmpty(),
             QStringLiteral("dest %1 %2").arg(d).arg(crosspoint(s.CrosspointMap[d])));
    }
    const auto gain = [&](const char* f, size_t c, int v) {
        note(v, QStringLiteral("%1%2=%3").arg(f).arg(c).arg(v));
    };
    for (size_t c = 0; c < s.InputGains.size(); ++c)
        gain("in", c, s.InputGains[c].InputSensitivity);
    for (size_t c = 0; c < s.OutputGains.size(); ++c) {
        gain("dsp", c, s.OutputGains[c].DspOutput);
        gain("out", c, s.OutputGains[c].FinalOutput);
    }
    note(s.InputGains.size() != old.InputGains.size(), "inputs grew");
    note(h.view.labelCalls, QStringLiteral("relabel %1").arg(h.view.labelCalls));
    note(h.view.refreshRequests, QStringLiteral("refresh %1").arg(h.view.refreshRequests));
    for (const QByteArray& m : h.sender.sent) out << "ask " + m.toHex();
    for (const Entry& e : h.log.entries) out << e.first + " (" + e.second + ")";
    out.removeAll("");
    return out.join("; ");
}

// Each message in turn through the panel's own decoder for its command byte.
QString decodeAll(const QList<QByteArray>& messages, int count = 6) {
    LinkHarness h;
    h.state.LastInfoRequest = InfoBits::StartUpRequest;
    h.state.SourceCount = h.state.DestinationCount = static_cast<int16_t>(count);
    h.state.SourceLinks[1] = h.state.DestinationLinks[1] = 2;
    const PanelState old = h.state;
    for (const QByteArray& m : messages) switcherDecoders().at(uint8_t(m.at(0)))(h.ctx, m);
    return changes(h, old);
}
}  // namespace

class TablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decode_data() {
        QTest::addColumn<QString>("messages");  // in hex, one after another
        QTest::addColumn<int>("count");         // of sources and of destinations declared before
        QTest::addColumn<QString>("changes");
        const auto row = [](const char* name, const QString& hex, const QString& changes,
                            int count = 6) { QTest::newRow(name) << hex << count << changes; };
        // An alpha table replaces its side's names, keeps the links set, and
        // relabels the faders if they show that side (at the DSP output stage,
        // the destinations).
        row("alpha sources", SourceMics,
            "src names Mic1,Mic2; src links 0,2; src count 2; bits 8e00", 0);
        row("alpha destinations", "FC14 04 0200 0000 4D696331 0000 4D696332 0100 30 FF",
            "dst names Mic1,Mic2; dst links 0,2; dst count 2; bits 8d00; relabel 1", 0);
        // Decoding starts at the first label given: label 0 holds a tab and
        // sort value 5000, both logged only if it were decoded.
        row("from label 1", "FC0A 04 0200 0100 4D096331 0827 4D696332 0100 76 FF",
            "src names ,Mic2; src links 0,2; bits 8e00");
        // Blank and tilde end the printable range; 4096 is the largest sort value.
        row("printable range and sort values",
            "FC0A 04 0200 0000 207E1F41 0020 4D69637F 0120 67 FF",
            "src names  ~.A,Mic.; src links 0,2; bits 8e00; "
            "Invalid Character in Alpha Label - Chr(31) Label #1 (Source Alpha Table); "
            "Invalid Character in Alpha Label - Chr(127) Label #2 (Source Alpha Table); "
            "Invalid Sort value 2 (4097) (Source Alpha Table)");
        // An unknown kind stores nothing and clears every request bit; its
        // largest sort value is 0.
        row("unknown kind", "FC1E 04 0200 0100 4D696331 0500 4D696332 0100 40 FF",
            "bits 0; Invalid Sort value 2 (1) (Unknown Alpha Table)");
        row("alpha one byte too many", "FC0A 04 0200 0000 4D696331 0000 4D696332 0100 00 26 FF",
            "TZ60 Message Length Error (Source Alpha Table)");
        // A damaged table is asked for again; an unknown kind asks for
        // everything, but not again while everything is outstanding.
        row("alpha bad checksum", "FC0A 04 0200 0000 4D696331 0000 4D696332 0100 27 FF",
            "bits 100; ask f20002000000000000000002ff; TZ60 Check Sum Error (Source Alpha Table)");
        const QString unknownDamaged = "FC1E 04 0200 0000 4D696331 0000 4D696332 0100 3B FF";
        row("unknown kind damaged, twice", unknownDamaged + "," + unknownDamaged,
            "bits -1; ask f27f0000000000000000007fff; TZ60 Check Sum Error (Unknown Alpha Table); "
            "TZ60 Check Sum Error (Unknown Alpha Table)");
        const QString alphaFault = "Error Processing Alpha Labels (TZ60 Command Error)";
        row("alpha without header", "FC 00 FF", alphaFault);
        row("alpha label count 0", "FC 0A 04 00 00 00 00 0E FF", "src names ; " + alphaFault);
        // The count only grows, but the links follow the latest names: a
        // partial links message past their end is refused.
        row("smaller alpha table",
            QString(SourceMics) +
                ", FC 0A 03 01 00 00 00 41 42 43 00 00 54 FF, FA 0A 01 00 05 00 01 11 FF",
            "src names ABC; src links 0; src count 2; bits 8e00; "
            "Error Receiving Advanced Gain (Switcher Message Error)",
            0);

        // A links run at least as long as the switcher's side replaces the
        // table, each value on its own channel; a shorter one updates in
        // place. Values above 3 are logged by position and taken as unlinked.
        row("links partial", SourcesFiveSix, "src links 1:2,5:1; bits 8b00; relabel 1");
        row("links whole", SourcesFiveSix, "src links 0,0,0,0,0,1,0; bits 8b00; relabel 1", 2);
        row("links 3 kept, 127 and 4 unlinked", "FA 0A 03 00 00 00 03 7F 04 13 FF",
            "src links 0:3; bits 8b00; relabel 1; Invalid link value 2 (127) (Source Links); "
            "Invalid link value 3 (4) (Source Links)");
        row("links of destinations", "FA 14 02 00 05 00 01 00 1C FF",
            "dst links 1:2,5:1; bits 8700; relabel 1");
        row("links of kind 30", "FA 1E 02 00 05 00 01 09 2F FF",
            "relabel 1; Invalid link value 2 (9) (Destination Links)");
        row("links bad checksum", "FA 0A 02 00 05 00 01 00 13 FF",
            "Check Sum Error (Source Links)");
        row("links one byte too many", "FA 0A 02 00 05 00 01 00 00 12 FF",
            "Message Length Error (Source Links)");
        const QString linksFault = "Error Receiving Advanced Gain (Switcher Message Error)";
        row("links count of 0", "FA 0A 00 00 00 00 0A FF", linksFault);
        row("links command byte only", "FA", linksFault);

        // The crosspoint map: sources and destinations from 1024 on are passed
        // over (a source still takes its slot); 1025 destinations, 64 slots
        // and 255 entries at most. A wrong length or checksum is dropped quietly.
        row("crosspoint", DestinationThree,
            "dest 3 sources 0,5 slots 0:1=1024,1:6=1000 count 2 header 0");
        // Sources 1024, 7 and 1500 for destination 10, header byte 5.
        row("crosspoint sources 1024 and 1500",
            "F6 00 01 00 0A 00 03 00 05 00 08 01 00 07 00 05 00 5C 0B 02 00 11 FF",
            "dest 10 sources 7 slots 1:8=5 count 3 header 5");
        // Destinations 1023 (source 2) and 1024 (source 4, header byte 1), then 1025.
        const QString lastTwo =
            "dest 1023 sources 2 slots 0:3=3 count 1 header 0; dest 1024 sources  slots  count 1 "
            "header 1";
        row("crosspoint destination 1024",
            "F6 00 02 00 7F 07 01 00 00 02 00 03 00 01 00 01 04 00 09 00 1D FF", lastTwo);
        const QString crosspointFault = "Error Processing Crosspoint Map (Switcher Message Error)";
        row("crosspoint destination 1025",
            "F6 00 03 00 7F 07 01 00 00 02 00 03 00 01 00 01 04 00 09 00 00 00 00 1E FF",
            lastTwo + "; " + crosspointFault);
        const QString entries64 =
            "F6 00 01 00 00 00 41 00 00" + QString("01 00 02 00").repeated(64);
        row("crosspoint 65th entry", entries64 + "03 00 04 00 09 FF", crosspointFault);
        QStringList everySlot;  // source 1, stored as 2, with value 2
        for (int j = 0; j < CrosspointEntry::SourceSlots; ++j)
            everySlot << QStringLiteral("%1:2=2").arg(j);
        row("crosspoint 65th entry past source 1023", entries64 + "00 08 04 00 0E FF",
            "dest 0 sources 1 slots " + everySlot.join(',') + " count 65 header 0");
        row("crosspoint 255 entries",
            "F6 00 01 00 00 08 7F 01 00" + QString("01 00 02 00").repeated(255) + "06 FF",
            "dest 1024 sources  slots  count 255 header 0");
        row("crosspoint 256 entries",
            "F6 00 01 00 00 08 00 02 00" + QString("01 00 02 00").repeated(256) + "0B FF",
            crosspointFault);
        row("crosspoint checksum", "F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 03 FF", "");
        row("crosspoint one byte too many",
            "F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 07 00 02 FF", "");
        row("crosspoint blocks into the checksum",
            "F6 00 01 00 03 00 02 00 00 00 00 00 08 05 00 68 7B FF", crosspointFault);
        row("crosspoint count of 0", "F6 00 00 00 03 00 03 FF", crosspointFault);

        // Advanced gain, for destination (or source) 5 of 6 declared unless
        // named: stages 1, 3 and 15 are stored; every field is checked
        // and logged as read; every message but a damaged one refreshes.
        row("gain", DspZeroDbOnFive, "dsp5=1024; refresh 1");
        row("gain, five destinations", DspZeroDbOnFive, "refresh 1", 5);
        row("gain stage 1", "E0 00 40 01 00 01 00 08 05 00 4F FF", "in5=1024; refresh 1");
        row("gain stage 3", "E0 00 40 01 00 03 00 08 05 00 51 FF", "out5=1024; refresh 1");
        const QString at = " (Advanced Gain Message)";
        row("gain type 0x41", "E0 00 41 01 00 0F 00 08 05 00 5E FF",
            "dsp5=1024; refresh 1; Unexpected message type (65)" + at);
        row("gain stage 17", "E0 00 40 01 00 11 00 08 05 00 5F FF",
            "refresh 1; Unexpected Gain Satge (17)" + at);
        row("gain stage 30", "E0 00 40 01 00 1E 00 08 05 00 6C FF",
            "refresh 1; Invalid Gain Satge (30)" + at);
        row("gain 2024", "E0 00 40 01 00 0F 68 0F 05 00 4C FF", "dsp5=2024; refresh 1");
        row("gain 2025, taken as 0 dB", "E0 00 40 01 00 0F 69 0F 05 00 4D FF",
            "dsp5=1024; refresh 1; Invalid Gain (2025) Gain Stage: 15" + at);
        row("gain bytes after the entries", "E0 00 40 01 00 01 00 08 05 00 55 55 79 FF",
            "in5=1024; refresh 1");
        // Channel 4096 is the last one that passes; the log names the 1-based
        // channel, and the stage by its own name.
        row("gain channel 4096", "E0 00 40 01 00 00 00 08 00 20 69 FF", "refresh 1");
        row("gain channel 4097", "E0 00 40 01 00 00 00 08 01 20 6A FF",
            "refresh 1; Invalid channel - 4098 (Input Trim Gain)");
        row("gain bad checksum", "E0 00 40 01 00 0F 00 08 05 00 5C FF", "Check Sum Error" + at);
        // Entry 1: stage 15, code 1000, destination 5, with the flags' extra
        // pair and fade time; entry 2 must start right after them.
        row("gain flags 6", "E0 00 40 02 06 0F 68 07 05 00 7F 7F 7F 00 03 04 07 07 00 5D FF",
            "dsp5=1000; out7=900; refresh 1; Unexpected Fade Time" + at, 100);
        // What was stored before a fault stays, nothing after it, and no
        // refresh. Source 2000 is declared but beyond the gain table.
        const QString gainFault = "Error Receiving Advanced Gain (Switcher Message Error)";
        row("gain entry beyond its table",
            "E0 00 40 03 00 01 00 08 05 00 00 01 00 08 50 0F 00 01 00 08 06 00 48 FF",
            "in5=1024; " + gainFault, 3000);
        row("gain second entry missing", "E0 00 40 02 00 01 00 08 05 00 50 FF",
            "in5=1024; " + gainFault);
        row("gain without count", "E0 00 40 40 FF", gainFault);
    }
    void decode() {
        QFETCH(QString, messages);
        QFETCH(int, count);
        QFETCH(QString, changes);
        QList<QByteArray> bytes;
        for (const QString& m : messages.split(',')) bytes << hex(m.toLatin1());
        QCOMPARE(decodeAll(bytes, count), changes);
    }

    // The exact bytes of one example each, and what the decoders make of the
    // encoders' less usual cases: labels cut or padded, flags' extra bytes.
    void encoders() {
        QCOMPARE(encodeAlphaTable(10, 4, 0, {{"Mic1", 0}, {"Mic2", 1}}), hex(SourceMics));
        QCOMPARE(encodeLinks(10, 5, {1, 0}), hex(SourcesFiveSix));
        QCOMPARE(encodeCrosspointMap(3, {{0, {{0, 1024}, {5, 1000}}}}), hex(DestinationThree));
        QCOMPARE(encodeAdvancedGain({{0, 15, 1024, 5}}), hex(DspZeroDbOnFive));
        const uint8_t both = AdvancedGainFlags::ExtraPair | AdvancedGainFlags::FadeTime;
        QCOMPARE(decodeAll({encodeAlphaTable(20, 5, 1, {{"L", 3}, {"R", 4096}, {"Centre", 7}}),
                            encodeLinks(10, 0, {0, 1, 2, 3}),
                            encodeCrosspointMap(500, {{7, {{1023, 16383}}}, {0, {}}}),
                            encodeAdvancedGain({{both, 1, 900, 5, 16383, 127},
                                                {AdvancedGainFlags::ExtraPair, 3, 1100, 5, 1},
                                                {0, 16, 24, 5}})}),
                 "src links 1:1,2:2,3:3; dst names ,R    ,Centr; dst links 0,2,0; bits 8900; "
                 "dest 500 sources 1023 slots 0:1024=16383 count 1 header 7; "
                 "dest 501 sources  slots  count 0 header 0; in5=900; dsp5=24; out5=1100; "
                 "relabel 2; refresh 1; Unexpected Fade Time (Advanced Gain Message)");
    }
};

QTEST_APPLESS_MAIN(TablesTest)
#include "TablesTest.moc"
