// The checks made around each decoder call.
#include "DecoderWatch.h"

#include <algorithm>

#include "Frame.h"
#include "FuzzCheck.h"
#include "InfoRequest.h"
#include "PanelState.h"
#include "TableKinds.h"

namespace {
constexpr int32_t EveryBit = -1;

// What the decoders may change, before and after one call.
struct Shape {
    size_t inputGains, outputGains, sourceAlpha, destinationAlpha;
    size_t sourceLinks, destinationLinks, crosspoints;
    int16_t sourceCount, destinationCount;
    int32_t lastInfoRequest;
};

Shape shapeOf(const PanelState& s) {
    return {s.InputGains.size(),       s.OutputGains.size(), s.SourceAlpha.size(),
            s.DestinationAlpha.size(), s.SourceLinks.size(), s.DestinationLinks.size(),
            s.CrosspointMap.size(),    s.SourceCount,        s.DestinationCount,
            s.LastInfoRequest};
}

// What a message says of itself, read with bounds (-1 when it is too short).
int byteOf(const QByteArray& m, int at) { return at < m.size() ? Frame::byteAt(m, at) : -1; }
int pairOf(const QByteArray& m, int at) {
    return at + 1 < m.size() ? Frame::Combine7Bit(Frame::byteAt(m, at), Frame::byteAt(m, at + 1))
                             : -1;
}

bool isWholeFrame(const QByteArray& m) {
    if (m.size() < 3 || !Frame::isCommandByte(Frame::byteAt(m, 0))) return false;
    if (Frame::byteAt(m, m.size() - 1) != Frame::EndOfMessage) return false;
    for (qsizetype i = 1; i + 1 < m.size(); ++i) {
        if (Frame::isCommandByte(Frame::byteAt(m, i))) return false;
    }
    return Frame::hasValidChecksum(m);
}

void checkFrameHandedOver(uint8_t command, const QByteArray& m) {
    require(!m.isEmpty() && Frame::byteAt(m, 0) == command, "decoder gets its own command byte");
    require(Frame::byteAt(m, m.size() - 1) == Frame::EndOfMessage, "message ends at its end byte");
    for (qsizetype i = 1; i + 1 < m.size(); ++i) {
        require(!Frame::isCommandByte(Frame::byteAt(m, i)), "no command byte inside a message");
    }
}

// InputGains and OutputGains never shrink, and grow only to first + count + 1
// of a gain message.
void checkGainTables(uint8_t command, const QByteArray& m, size_t before, size_t after) {
    require(after >= before, "gain table never shrinks");
    if (after == before) return;
    require(command == Frame::Command::Gain, "only a gain message grows a gain table");
    require(static_cast<int>(after) == pairOf(m, 5) + pairOf(m, 3) + 1,
            "gain table grows to first + count + 1");
}

bool isTableOf(const QByteArray& m, uint8_t command, uint8_t kind) {
    return byteOf(m, 0) == command && byteOf(m, 1) == kind;
}

// A name table is replaced by exactly the labels of an alpha table of its side.
void checkNames(const QByteArray& m, uint8_t kind, size_t before, size_t after) {
    if (after == before) return;
    require(isTableOf(m, Frame::Command::AlphaTable, kind),
            "only an alpha table of its side resizes a name table");
    require(static_cast<int>(after) == std::max(pairOf(m, 3), 1), "name table holds N labels");
}

// A link table takes the count of an alpha table, or first + count of a links
// message, of its side.
void checkLinks(const QByteArray& m, uint8_t kind, size_t before, size_t after) {
    if (after == before) return;
    const int size = static_cast<int>(after);
    const bool fromAlpha = isTableOf(m, Frame::Command::AlphaTable, kind) && size == pairOf(m, 3);
    const bool fromLinks =
        isTableOf(m, Frame::Command::Links, kind) && size == pairOf(m, 4) + pairOf(m, 2);
    require(fromAlpha || fromLinks, "link table resized only as its side's tables declare");
}

void checkCount(const QByteArray& m, uint8_t kind, int16_t before, int16_t after) {
    require(after >= before, "the switcher's counts never fall");
    if (after == before) return;
    require(isTableOf(m, Frame::Command::AlphaTable, kind) && after == pairOf(m, 3),
            "a count rises only to the N of its side's alpha table");
}

// The bits a received table may clear from LastInfoRequest.
int32_t clearableBits(const QByteArray& m) {
    const int command = byteOf(m, 0);
    const int kind = byteOf(m, 1);
    if (command == Frame::Command::AlphaTable) {
        if (kind == TableKind::Sources) return InfoBits::SourceNames;
        if (kind == TableKind::Destinations) return InfoBits::DestinationNames;
        return EveryBit;
    }
    if (command == Frame::Command::Links) {
        if (kind == TableKind::Sources) return InfoBits::SourceLinks;
        if (kind == TableKind::Destinations) return InfoBits::DestinationLinks;
    }
    return 0;
}

// The request a decoder may send: the start-up request after a type request,
// or a table asked for again after a damaged alpha table.
bool isRequestFor(const QByteArray& m, int32_t code) {
    const int command = byteOf(m, 0);
    if (command == Frame::Command::Type) return code == InfoBits::StartUpRequest;
    if (command != Frame::Command::AlphaTable) return false;
    const int kind = byteOf(m, 1);
    if (kind == TableKind::Sources) return code == InfoBits::SourceNames;
    if (kind == TableKind::Destinations) return code == InfoBits::DestinationNames;
    return code == EveryBit;
}

void checkRequestBits(const QByteArray& m, int32_t before, int32_t after,
                      const QList<QByteArray>& sentMeanwhile) {
    QByteArray lastRequest;
    for (const QByteArray& s : sentMeanwhile) {
        if (Frame::byteAt(s, 0) == Frame::Command::InfoRequest) lastRequest = s;
    }
    if (!lastRequest.isEmpty()) {
        require(isRequestFor(m, after), "a decoder sends only the request its message calls for");
        require(lastRequest == encodeInfoRequest(after),
                "request bits are those of the request sent");
        return;
    }
    require((after & ~before) == 0, "no request bit is set without a request sent");
    require(((before & ~after) & ~clearableBits(m)) == 0, "only the answered bits are cleared");
}

void checkAfterDecode(uint8_t command, const QByteArray& m, const Shape& was, const Shape& is,
                      const QList<QByteArray>& sentMeanwhile) {
    checkGainTables(command, m, was.inputGains, is.inputGains);
    checkGainTables(command, m, was.outputGains, is.outputGains);
    checkNames(m, TableKind::Sources, was.sourceAlpha, is.sourceAlpha);
    checkNames(m, TableKind::Destinations, was.destinationAlpha, is.destinationAlpha);
    checkLinks(m, TableKind::Sources, was.sourceLinks, is.sourceLinks);
    checkLinks(m, TableKind::Destinations, was.destinationLinks, is.destinationLinks);
    checkCount(m, TableKind::Sources, was.sourceCount, is.sourceCount);
    checkCount(m, TableKind::Destinations, was.destinationCount, is.destinationCount);
    require(is.crosspoints == static_cast<size_t>(PanelState::CrosspointDestinations),
            "the crosspoint map keeps its size");
    checkRequestBits(m, was.lastInfoRequest, is.lastInfoRequest, sentMeanwhile);
}

}  // namespace

void WatchedSender::SendToSwitcher(const QByteArray& message) {
    const bool keepAliveAnswer =
        message.size() == 1 && Frame::byteAt(message, 0) == Frame::KeepAliveAnswer;
    require(keepAliveAnswer || isWholeFrame(message), "the panel sends only whole frames");
    sent.append(message);
}

DecoderTable watchedDecoders(const DecoderTable& real, const WatchedSender& sender) {
    DecoderTable watched;
    for (const auto& [command, decode] : real) {
        watched[command] = [command = command, decode = decode, &sender](LinkContext& ctx,
                                                                         const QByteArray& m) {
            checkFrameHandedOver(command, m);
            const Shape was = shapeOf(ctx.state);
            const qsizetype sentBefore = sender.sent.size();
            const bool answered = decode(ctx, m);
            const QList<QByteArray> sent = sender.sent.mid(sentBefore);
            require(answered == !sent.isEmpty(), "a decoder says whether it answered");
            checkAfterDecode(command, m, was, shapeOf(ctx.state), sent);
            return answered;
        };
    }
    return watched;
}
