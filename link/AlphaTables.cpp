#include "AlphaTables.h"

#include <algorithm>
#include <optional>

#include "ErrorSink.h"
#include "Frame.h"
#include "InfoRequest.h"
#include "MessageReader.h"
#include "PanelState.h"
#include "PanelView.h"
#include "TableAccess.h"
#include "TableKinds.h"

namespace {
constexpr int HeaderBytes = 7;  // command, kind, width, count pair, first pair
constexpr int FrameTrailer = 2;
constexpr int SortValueBytes = 2;
constexpr int32_t EveryRequestBit = -1;

// Where an accepted table of one side goes.
struct AlphaTarget {
    std::vector<QString>& labels;
    std::vector<int16_t>& links;
    int16_t& count;
    bool faderShowsSide;
};

struct AlphaKind {
    QString tableName;
    int largestSortValue;
    int32_t requestBit;  // EveryRequestBit for an unknown kind
};

AlphaKind kindOf(uint8_t kind) {
    switch (kind) {
        case TableKind::Sources:
            return {QStringLiteral("Source Alpha Table"), 4096, InfoBits::SourceNames};
        case TableKind::Destinations:
            return {QStringLiteral("Destination Alpha Table"), 4096, InfoBits::DestinationNames};
        default:
            return {QStringLiteral("Unknown Alpha Table"), 0, EveryRequestBit};
    }
}

std::optional<AlphaTarget> targetOf(uint8_t kind, PanelState& state) {
    if (kind == TableKind::Sources) {
        return AlphaTarget{state.SourceAlpha, state.SourceLinks, state.SourceCount,
                           state.GainStage == GainStage::InputTrim};
    }
    if (kind == TableKind::Destinations) {
        const bool shown =
            state.GainStage == GainStage::AnalogOutput || state.GainStage == GainStage::DspOutput;
        return AlphaTarget{state.DestinationAlpha, state.DestinationLinks, state.DestinationCount,
                           shown};
    }
    return std::nullopt;
}

struct AlphaHeader {
    int width;
    int count;
    int first;
};

AlphaHeader readHeader(const QByteArray& message) {
    MessageReader reader(message, 2);
    const int width = reader.byte();
    const int count = reader.pair();
    const int first = reader.pair();
    return {width, count, first};
}

qsizetype expectedLength(const AlphaHeader& header) {
    return static_cast<qsizetype>(header.width + SortValueBytes) * header.count + HeaderBytes +
           FrameTrailer;
}

// A damaged table is asked for again. An unknown kind asks for everything, but
// not while everything is already outstanding, so a peer that keeps sending
// a broken unknown table cannot start a request storm.
bool askAgain(LinkContext& ctx, const AlphaKind& kind) {
    if (kind.requestBit == EveryRequestBit && ctx.state.LastInfoRequest == EveryRequestBit) {
        return false;
    }
    SendInfoRequest(ctx, kind.requestBit);
    return true;
}

QString readLabel(MessageReader& reader, const AlphaHeader& header, int index,
                  const AlphaKind& kind, ErrorSink& log) {
    QString label;
    label.reserve(header.width);
    for (int c = 0; c < header.width; ++c) {
        const uint8_t byte = reader.byte();
        const bool printable = byte >= 0x20 && byte <= 0x7E;
        if (!printable) {
            log.LogError(QStringLiteral("Invalid Character in Alpha Label - Chr(%1) Label #%2")
                             .arg(static_cast<int>(byte))
                             .arg(index + 1),
                         kind.tableName);
        }
        label.append(QLatin1Char(printable ? static_cast<char>(byte) : '.'));
    }
    const int sortValue = reader.pair();
    if (sortValue > kind.largestSortValue) {
        log.LogError(QStringLiteral("Invalid Sort value %1 (%2)").arg(index + 1).arg(sortValue),
                     kind.tableName);
    }
    return label;
}

// Labels below the first decoded one stay empty. A count of 0 still gives one
// empty label, which the store then fails to fit a link table to.
std::vector<QString> readLabels(const QByteArray& message, const AlphaHeader& header,
                                const AlphaKind& kind, ErrorSink& log) {
    std::vector<QString> labels(static_cast<size_t>(std::max(header.count, 1)));
    const qsizetype start =
        HeaderBytes + static_cast<qsizetype>(header.width + SortValueBytes) * header.first;
    MessageReader reader(message, start);
    for (int i = header.first; i < header.count; ++i) {
        entryAt(labels, i) = readLabel(reader, header, i, kind, log);
    }
    return labels;
}

// The name table is replaced before the link table is fitted: a table that
// cannot be fitted leaves the new names in place.
void storeTable(LinkContext& ctx, AlphaTarget& target, std::vector<QString> labels, int count) {
    target.labels = std::move(labels);
    if (count < 1) throw TableFault();
    target.links.resize(static_cast<size_t>(count), 0);
    if (count > target.count) target.count = static_cast<int16_t>(count);
    if (target.faderShowsSide) ctx.view.LabelFaders();
}

void clearRequestBit(PanelState& state, int32_t bit) {
    state.LastInfoRequest = bit == EveryRequestBit ? 0 : state.LastInfoRequest & ~bit;
}

}  // namespace

bool ProcessAlphaLabels(LinkContext& ctx, const QByteArray& message) {
    try {
        const uint8_t kindCode = MessageReader(message, 1).byte();
        const AlphaKind kind = kindOf(kindCode);
        if (!Frame::hasValidChecksum(message)) {
            ctx.log.LogError(QStringLiteral("TZ60 Check Sum Error"), kind.tableName);
            return askAgain(ctx, kind);
        }
        const AlphaHeader header = readHeader(message);
        if (message.size() != expectedLength(header)) {
            ctx.log.LogError(QStringLiteral("TZ60 Message Length Error"), kind.tableName);
            return false;
        }
        std::vector<QString> labels = readLabels(message, header, kind, ctx.log);
        if (std::optional<AlphaTarget> target = targetOf(kindCode, ctx.state)) {
            storeTable(ctx, *target, std::move(labels), header.count);
        }
        clearRequestBit(ctx.state, kind.requestBit);
    } catch (const std::exception&) {
        ctx.log.LogError(QStringLiteral("Error Processing Alpha Labels"),
                         QStringLiteral("TZ60 Command Error"));
    }
    return false;
}

QByteArray encodeAlphaTable(uint8_t kind, uint8_t width, int first,
                            const std::vector<AlphaLabel>& labels) {
    QByteArray data;
    data.append(static_cast<char>(kind & 0x7F));
    data.append(static_cast<char>(width & 0x7F));
    Frame::append7BitPair(data, static_cast<int>(labels.size()));
    Frame::append7BitPair(data, first);
    for (const AlphaLabel& label : labels) {
        QByteArray text = label.text.left(width & 0x7F);
        text = text.leftJustified(width & 0x7F, ' ');
        // A byte with bit 7 set would cut the frame short at the receiver.
        for (char& c : text) c = static_cast<char>(c & 0x7F);
        data.append(text);
        Frame::append7BitPair(data, label.sortValue);
    }
    return Frame::buildMessage(Frame::Command::AlphaTable, data);
}
