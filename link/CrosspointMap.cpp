#include "CrosspointMap.h"

#include "ErrorSink.h"
#include "Frame.h"
#include "MessageReader.h"
#include "PanelState.h"
#include "TableAccess.h"

namespace {
constexpr int SourceEntryBytes = 4;  // source pair, value pair
constexpr int LargestEntryCount = 255;

CrosspointEntry emptyEntry() {
    CrosspointEntry entry;
    entry.Sources = QString(CrosspointEntry::SourceRange, QLatin1Char('0'));
    return entry;
}

// Sources and destinations from 1024 on cannot be shown in the map: their
// entries are passed over but still take their slot number.
void readSourceEntry(MessageReader& reader, CrosspointEntry& entry, int slot, int destination) {
    if (destination >= CrosspointEntry::SourceRange) {
        reader.skip(SourceEntryBytes);
        return;
    }
    const int source = reader.pair();
    if (source >= CrosspointEntry::SourceRange) {
        reader.skip(2);
        return;
    }
    if (source < 0 || slot >= CrosspointEntry::SourceSlots) throw TableFault();
    entry.Sources[source] = QLatin1Char('1');
    entry.SourceNumber[static_cast<size_t>(slot)] = static_cast<int16_t>(source + 1);
    entry.SourceValue[static_cast<size_t>(slot)] = reader.pair();
}

CrosspointEntry readBlock(MessageReader& reader, int destination) {
    CrosspointEntry entry = emptyEntry();
    const int entryCount = reader.pair();
    if (entryCount < 0 || entryCount > LargestEntryCount) throw TableFault();
    entry.EntryCount = static_cast<uint8_t>(entryCount);
    entry.HeaderByte = reader.byte();
    for (int slot = 0; slot < entryCount; ++slot) {
        readSourceEntry(reader, entry, slot, destination);
    }
    return entry;
}

bool isStorable(int destination) {
    return destination >= 0 && destination < PanelState::CrosspointDestinations;
}

// Every block is read and checked, but only entries the map can hold are
// kept, so a long run of destinations costs no more memory than the map.
std::vector<CrosspointEntry> readBlocks(MessageReader& reader, int count, int first) {
    std::vector<CrosspointEntry> kept;
    for (int k = 0; k < count; ++k) {
        CrosspointEntry entry = readBlock(reader, first + k);
        if (isStorable(first + k)) kept.push_back(std::move(entry));
    }
    return kept;
}

// Stops at the first destination outside the map; those before it stay stored.
void storeEntries(std::vector<CrosspointEntry>& map, int count, int first,
                  std::vector<CrosspointEntry>& kept) {
    for (int k = 0; k < count; ++k) {
        if (!isStorable(first + k)) throw TableFault();
        entryAt(map, first + k) = std::move(entryAt(kept, k));
    }
}

}  // namespace

bool ProcessCrosspointMap(LinkContext& ctx, const QByteArray& message) {
    try {
        if (!Frame::hasValidChecksum(message)) return false;
        const QByteArray body = withoutTrailer(message);
        MessageReader reader(body, 2);
        const int count = reader.pair();
        const int first = reader.pair();
        if (count < 1) throw TableFault();
        std::vector<CrosspointEntry> kept = readBlocks(reader, count, first);
        // Bytes left over after the last block: a wrong length, dropped unlogged.
        if (reader.position() != body.size()) return false;
        storeEntries(ctx.state.CrosspointMap, count, first, kept);
    } catch (const std::exception&) {
        ctx.log.LogError(QStringLiteral("Error Processing Crosspoint Map"),
                         QStringLiteral("Switcher Message Error"));
    }
    return false;
}

QByteArray encodeCrosspointMap(int firstDestination, const std::vector<CrosspointBlock>& blocks) {
    QByteArray data;
    data.append('\0');  // not examined by the receiver
    Frame::append7BitPair(data, static_cast<int>(blocks.size()));
    Frame::append7BitPair(data, firstDestination);
    for (const CrosspointBlock& block : blocks) {
        Frame::append7BitPair(data, static_cast<int>(block.sources.size()));
        data.append(static_cast<char>(block.headerByte & 0x7F));
        for (const CrosspointSource& source : block.sources) {
            Frame::append7BitPair(data, source.source);
            Frame::append7BitPair(data, source.value);
        }
    }
    return Frame::buildMessage(Frame::Command::CrosspointMap, data);
}
