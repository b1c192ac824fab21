#include "OscEncoder.h"

#include <oscpack/osc/OscOutboundPacketStream.h>

#include <array>

namespace {

// Names are eight characters on the switcher; a message stays far below this.
constexpr std::size_t LargestMessage = 512;

template <typename Value>
QByteArray build(const QByteArray& address, const Value& value) {
    std::array<char, LargestMessage> buffer{};
    osc::OutboundPacketStream stream(buffer.data(), buffer.size());
    stream << osc::BeginMessage(address.constData()) << value << osc::EndMessage;
    return QByteArray(stream.Data(), static_cast<qsizetype>(stream.Size()));
}

QByteArray faderAddress(std::size_t i, const char* what) {
    return QByteArrayLiteral("/fader/") + QByteArray::number(static_cast<qulonglong>(i) + 1) + '/' +
           what;
}

}  // namespace

QByteArray oscMessage(const QByteArray& address, float value) { return build(address, value); }

QByteArray oscMessage(const QByteArray& address, int value) {
    return build(address, static_cast<osc::int32>(value));
}

QByteArray oscMessage(const QByteArray& address, const QString& value) {
    const QByteArray text = value.toUtf8().left(LargestMessage / 2);
    return build(address, text.constData());
}

QByteArray oscMessage(const QByteArray& address, const QVariantList& arguments) {
    std::array<char, LargestMessage> buffer{};
    osc::OutboundPacketStream stream(buffer.data(), buffer.size());
    stream << osc::BeginMessage(address.constData());
    QList<QByteArray> texts;  // alive until the message is built
    for (const QVariant& argument : arguments) {
        switch (argument.typeId()) {
            case QMetaType::Bool:
                stream << argument.toBool();
                break;
            case QMetaType::Int:
                stream << static_cast<osc::int32>(argument.toInt());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                stream << argument.toFloat();
                break;
            default:
                texts << argument.toString().toUtf8().left(LargestMessage / 2);
                stream << texts.last().constData();
        }
    }
    stream << osc::EndMessage;
    return QByteArray(stream.Data(), static_cast<qsizetype>(stream.Size()));
}

QList<QByteArray> feedbackMessages(const RemotePicture& now, const RemotePicture* before) {
    QList<QByteArray> messages;
    const bool all = before == nullptr;
    if (all || before->faders.size() != now.faders.size()) {
        messages << oscMessage(QByteArrayLiteral("/faders"), static_cast<int>(now.faders.size()));
    }
    for (std::size_t i = 0; i < now.faders.size(); ++i) {
        const RemoteFader& fader = now.faders[i];
        const RemoteFader* was = !all && i < before->faders.size() ? &before->faders[i] : nullptr;
        if (!was || was->decibels != fader.decibels) {
            messages << oscMessage(faderAddress(i, "db"), static_cast<float>(fader.decibels));
        }
        if (!was || was->name != fader.name)
            messages << oscMessage(faderAddress(i, "name"), fader.name);
        if (!was || was->stereo != fader.stereo) {
            messages << oscMessage(faderAddress(i, "stereo"), fader.stereo);
        }
        if (!was || was->locked != fader.locked) {
            messages << oscMessage(faderAddress(i, "locked"), fader.locked);
        }
    }
    if (all || before->link != now.link)
        messages << oscMessage(QByteArrayLiteral("/link"), now.link);
    return messages;
}
