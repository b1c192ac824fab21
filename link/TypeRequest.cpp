#include "TypeRequest.h"

#include <QElapsedTimer>
#include <QThread>

#include "ErrorSink.h"
#include "Frame.h"
#include "InfoRequest.h"
#include "PanelState.h"

namespace {
constexpr uint8_t TypeAskedFor = 0x64;  // 'd'
// The switcher needs a moment after the reply before it takes the request.
constexpr qint64 PauseBeforeInfoRequestMs = 100;

bool IsTypeRequest(const QByteArray& message) {
    if (!Frame::HasValidChecksum(message)) return false;
    if (message.size() != 4 && message.size() != 5) return false;
    return Frame::byteAt(message, 1) == TypeAskedFor;
}

// Holds the UI thread on purpose: nothing the switcher sends meanwhile may be
// handled before the request has gone out. Sleeps rather than spins.
void HoldThreadFor(qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        QThread::msleep(static_cast<unsigned long>(left));
    }
}
}  // namespace

QByteArray TypeReply() { return Frame::BuildMessage(Frame::Command::Type, QByteArray::fromHex("0a01")); }

QByteArray EncodeTypeRequest() {
    return Frame::BuildMessage(Frame::Command::Type, QByteArray(1, static_cast<char>(TypeAskedFor)));
}

std::optional<QByteArray> DecodeTypeReply(const QByteArray& message) {
    if (message.size() < 3 || Frame::byteAt(message, 0) != Frame::Command::Type ||
        !Frame::HasValidChecksum(message)) {
        return std::nullopt;
    }
    return message.mid(1, message.size() - 3);
}

bool ProcessTypeRequest(LinkContext& ctx, const QByteArray& message) {
    return AnswerTypeRequest(ctx, message, &HoldThreadFor);
}

bool AnswerTypeRequest(LinkContext& ctx, const QByteArray& message,
                       const std::function<void(qint64)>& pause) {
    bool answered = false;
    try {
        if (!IsTypeRequest(message)) return false;
        answered = true;
        ctx.sender.SendToSwitcher(TypeReply());
        pause(PauseBeforeInfoRequestMs);
        SendInfoRequest(ctx, InfoBits::StartUpRequest);
    } catch (...) {
        ctx.log.LogError(QStringLiteral("Error processing type request"),
                         QStringLiteral("Switcher Message Error"));
    }
    return answered;
}
