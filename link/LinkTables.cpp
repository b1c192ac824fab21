#include "LinkTables.h"

#include "ErrorSink.h"
#include "Frame.h"
#include "MessageReader.h"
#include "PanelState.h"
#include "PanelView.h"
#include "TableAccess.h"
#include "TableKinds.h"

namespace {
constexpr int FixedBytes = 8;  // command, kind, count pair, first pair, checksum, end
constexpr int16_t LargestLinkValue = 3;

QString tableNameOf(uint8_t kind) {
    return kind == TableKind::Sources ? QStringLiteral("Source Links")
                                      : QStringLiteral("Destination Links");
}

// Values above the largest known link value are logged by their 1-based
// position in the message and taken as unlinked.
std::vector<int16_t> readLinkValues(MessageReader& reader, int count, const QString& tableName,
                                    ErrorSink& log) {
    if (count < 1) throw TableFault();
    std::vector<int16_t> values;
    values.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int16_t value = reader.byte();
        if (value > LargestLinkValue) {
            log.LogError(QStringLiteral("Invalid link value %1 (%2)").arg(i + 1).arg(value),
                         tableName);
        }
        values.push_back(value > LargestLinkValue ? int16_t{0} : value);
    }
    return values;
}

// A run as long as the switcher's side replaces the whole table: it then holds
// channels 0 to first+count-1, unlinked below first. A shorter run updates its
// channels in place and must lie within the table.
void storeLinks(std::vector<int16_t>& table, int16_t sideCount, int first,
                const std::vector<int16_t>& values) {
    const int count = static_cast<int>(values.size());
    if (first < 0) throw TableFault();
    if (count >= sideCount)
        table.assign(static_cast<size_t>(first) + static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) entryAt(table, first + i) = values[static_cast<size_t>(i)];
}

}  // namespace

bool ReceiveLinks(LinkContext& ctx, const QByteArray& message) {
    try {
        MessageReader reader(message, 1);
        const uint8_t kind = reader.byte();
        const QString tableName = tableNameOf(kind);
        if (!Frame::hasValidChecksum(message)) {
            ctx.log.LogError(QStringLiteral("Check Sum Error"), tableName);
            return false;
        }
        const int count = reader.pair();
        if (message.size() != count + FixedBytes) {
            ctx.log.LogError(QStringLiteral("Message Length Error"), tableName);
            return false;
        }
        const int first = reader.pair();
        const std::vector<int16_t> values = readLinkValues(reader, count, tableName, ctx.log);
        PanelState& state = ctx.state;
        if (kind == TableKind::Sources) {
            storeLinks(state.SourceLinks, state.SourceCount, first, values);
            state.LastInfoRequest &= ~InfoBits::SourceLinks;
        } else if (kind == TableKind::Destinations) {
            storeLinks(state.DestinationLinks, state.DestinationCount, first, values);
            state.LastInfoRequest &= ~InfoBits::DestinationLinks;
        }
        ctx.view.LabelFaders();
    } catch (const std::exception&) {
        // Odd for this message, but it is the text the error log has always had here.
        ctx.log.LogError(QStringLiteral("Error Receiving Advanced Gain"),
                         QStringLiteral("Switcher Message Error"));
    }
    return false;
}

QByteArray encodeLinks(uint8_t kind, int first, const std::vector<int16_t>& values) {
    QByteArray data;
    data.append(static_cast<char>(kind & 0x7F));
    Frame::append7BitPair(data, static_cast<int>(values.size()));
    Frame::append7BitPair(data, first);
    for (const int16_t value : values) data.append(static_cast<char>(value & 0x7F));
    return Frame::buildMessage(Frame::Command::Links, data);
}
