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

bool isTypeRequest(const QByteArray& message) {
    if (!Frame::hasValidChecksum(message)) return false;
    if (message.size() != 4 && message.size() != 5) return false;
    return Frame::byteAt(message, 1) == TypeAskedFor;
}

// Holds the UI thread on purpose: nothing the switcher sends meanwhile may be
// handled before the request has gone out. Sleeps rather than spins.
void holdThreadFor(qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        QThread::msleep(static_cast<unsigned long>(left));
    }
}
}  // namespace

QByteArray typeReply() {
    return Frame::buildMessage(Frame::Command::Type, QByteArray::fromHex("0a01"));
}

QByteArray encodeTypeRequest() {
    return Frame::buildMessage(Frame::Command::Type,
                               QByteArray(1, static_cast<char>(TypeAskedFor)));
}

std::optional<QByteArray> decodeTypeReply(const QByteArray& message) {
    if (message.size() < 3 || Frame::byteAt(message, 0) != Frame::Command::Type ||
        !Frame::hasValidChecksum(message)) {
        return std::nullopt;
    }
    return message.mid(1, message.size() - 3);
}

bool ProcessTypeRequest(LinkContext& ctx, const QByteArray& message) {
    return answerTypeRequest(ctx, message, &holdThreadFor);
}

bool answerTypeRequest(LinkContext& ctx, const QByteArray& message,
                       const std::function<void(qint64)>& pause) {
    bool answered = false;
    try {
        if (!isTypeRequest(message)) return false;
        answered = true;
        ctx.sender.SendToSwitcher(typeReply());
        pause(PauseBeforeInfoRequestMs);
        SendInfoRequest(ctx, InfoBits::StartUpRequest);
    } catch (...) {
        ctx.log.LogError(QStringLiteral("Error processing type request"),
                         QStringLiteral("Switcher Message Error"));
    }
    return answered;
}
