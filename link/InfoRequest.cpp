#include "InfoRequest.h"

#include "ErrorSink.h"
#include "Frame.h"
#include "PanelState.h"

namespace {
constexpr int CodeGroups = 6;    // 7-bit groups, least significant first
constexpr int PaddingBytes = 4;  // always zero
constexpr qsizetype RequestLength = 1 + CodeGroups + PaddingBytes + 2;
}  // namespace

QByteArray encodeInfoRequest(int32_t code) {
    QByteArray data;
    // Groups are taken from the two's-complement value, so -1 gives 0x7F, then
    // zeros: group k is code / 2^(7k) rounded toward zero, AND 0x7F.
    for (int k = 0; k < CodeGroups; ++k) {
        const int64_t group = static_cast<int64_t>(code) / (int64_t{1} << (7 * k));
        data.append(static_cast<char>(group & 0x7F));
    }
    data.append(QByteArray(PaddingBytes, '\0'));
    return Frame::buildMessage(Frame::Command::InfoRequest, data);
}

std::optional<int32_t> decodeInfoRequest(const QByteArray& message) {
    if (message.size() != RequestLength ||
        Frame::byteAt(message, 0) != Frame::Command::InfoRequest ||
        !Frame::hasValidChecksum(message)) {
        return std::nullopt;
    }
    uint64_t code = 0;
    for (int k = 0; k < CodeGroups; ++k) {
        code |= uint64_t{Frame::byteAt(message, 1 + k)} << (7 * k);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(code));
}

void SendInfoRequest(LinkContext& ctx, int32_t code) {
    // Code 2 is reserved and never goes out.
    if (code == 2) return;
    ctx.sender.SendToSwitcher(encodeInfoRequest(code));
    ctx.state.LastInfoRequest = code;
}
