// The parsing itself is the OSC library's, once OscShape has found the
// datagram soundly shaped; this file maps addresses and arguments to
// commands.
#include "OscDecoder.h"

#include <oscpack/osc/OscReceivedElements.h>

#include <QRegularExpression>
#include <cmath>

#include "OscShape.h"

namespace {

// A bundle inside a bundle inside ...: a datagram may nest them deeper than
// anyone needs; this far and no further.
constexpr int DeepestBundle = 8;

struct Arguments {
    std::vector<double> numbers;
    std::vector<QString> strings;
    QString tags;  // "f", "i", "s", "b" (T or F) in order
};

// i and f as numbers, T and F as 1 and 0, s as text; any other type makes
// the arguments wrong for every address here.
std::optional<Arguments> readArguments(const osc::ReceivedMessage& message) {
    Arguments read;
    for (auto argument = message.ArgumentsBegin(); argument != message.ArgumentsEnd(); ++argument) {
        if (argument->IsInt32()) {
            read.numbers.push_back(argument->AsInt32());
            read.tags += QLatin1Char('i');
        } else if (argument->IsFloat()) {
            const float value = argument->AsFloat();
            if (!std::isfinite(value)) return std::nullopt;
            read.numbers.push_back(value);
            read.tags += QLatin1Char('f');
        } else if (argument->IsBool()) {
            read.numbers.push_back(argument->AsBool() ? 1 : 0);
            read.tags += QLatin1Char('b');
        } else if (argument->IsString()) {
            read.strings.push_back(QString::fromUtf8(argument->AsString()));
            read.tags += QLatin1Char('s');
        } else {
            return std::nullopt;
        }
    }
    return read;
}

RemoteDecoded fault(RemoteFault kind, const QString& address) {
    return RemoteFaultReport{kind, address};
}

RemoteDecoded faderCommand(const QString& address, int number, const QString& what,
                           const Arguments& args, int faderCount) {
    using Kind = RemoteCommand::Kind;
    if (number < 1 || number > faderCount) return fault(RemoteFault::FaderOutOfRange, address);
    RemoteCommand command;
    command.fader = number - 1;
    const bool oneNumber = args.tags.size() == 1 && args.numbers.size() == 1;
    if (what == QStringLiteral("db") && oneNumber && args.tags != QStringLiteral("b")) {
        command.kind = Kind::FaderDb;
    } else if (what == QStringLiteral("code") && args.tags == QStringLiteral("i")) {
        command.kind = Kind::FaderCode;
    } else if (what == QStringLiteral("nudge") && oneNumber && args.tags != QStringLiteral("b")) {
        command.kind = Kind::FaderNudge;
    } else if (what == QStringLiteral("zero") && (args.tags.isEmpty() || oneNumber)) {
        command.kind = Kind::FaderZero;
    } else {
        return fault(RemoteFault::WrongArguments, address);
    }
    // A zero without argument is a press; a button that sends 1 as it goes
    // down sends 0 as it comes up, which is no press.
    command.value = args.numbers.empty() ? 1 : args.numbers.front();
    return command;
}

RemoteDecoded decodeMessage(const osc::ReceivedMessage& message, int faderCount) {
    using Kind = RemoteCommand::Kind;
    const QString address = QString::fromUtf8(message.AddressPattern());
    const std::optional<Arguments> args = readArguments(message);
    static const QRegularExpression faderAddress(
        QStringLiteral("^/fader/(\\d{1,6})/(db|code|nudge|zero)$"));
    const QRegularExpressionMatch fader = faderAddress.match(address);
    if (fader.hasMatch()) {
        if (!args) return fault(RemoteFault::WrongArguments, address);
        return faderCommand(address, fader.captured(1).toInt(), fader.captured(2), *args,
                            faderCount);
    }
    RemoteCommand command;
    if (address == QStringLiteral("/snapshot/recall")) {
        if (!args || args->strings.size() != 1 || !args->tags.startsWith(QLatin1Char('s')) ||
            args->tags.size() > 2 ||
            (args->tags.size() == 2 && args->tags[1] == QLatin1Char('b'))) {
            return fault(RemoteFault::WrongArguments, address);
        }
        command.kind = Kind::SnapshotRecall;
        command.name = args->strings.front();
        if (!args->numbers.empty()) command.fadeSeconds = args->numbers.front();
        return command;
    }
    if (address == QStringLiteral("/subscribe")) {
        if (!args || !(args->tags.isEmpty() || args->tags == QStringLiteral("i"))) {
            return fault(RemoteFault::WrongArguments, address);
        }
        command.kind = Kind::Subscribe;
        if (!args->numbers.empty()) {
            const double port = args->numbers.front();
            if (port < 1 || port > 65535) return fault(RemoteFault::WrongArguments, address);
            command.port = static_cast<int>(port);
        }
        return command;
    }
    if (address == QStringLiteral("/unsubscribe")) {
        if (!args || !args->tags.isEmpty()) return fault(RemoteFault::WrongArguments, address);
        command.kind = Kind::Unsubscribe;
        return command;
    }
    return fault(RemoteFault::UnknownAddress, address);
}

void decodeElement(const char* data, osc::osc_bundle_element_size_t size, bool isBundle, int depth,
                   int faderCount, RemoteDatagram& out);

void decodeBundle(const osc::ReceivedBundle& bundle, int depth, int faderCount,
                  RemoteDatagram& out) {
    if (depth > DeepestBundle) {
        out.push_back(fault(RemoteFault::NotOsc, QString()));
        return;
    }
    for (auto element = bundle.ElementsBegin(); element != bundle.ElementsEnd(); ++element) {
        decodeElement(element->Contents(), element->Size(), element->IsBundle(), depth + 1,
                      faderCount, out);
    }
}

void decodeElement(const char* data, osc::osc_bundle_element_size_t size, bool isBundle, int depth,
                   int faderCount, RemoteDatagram& out) {
    const osc::ReceivedPacket packet(data, size);
    if (isBundle) {
        decodeBundle(osc::ReceivedBundle(packet), depth, faderCount, out);
    } else {
        out.push_back(decodeMessage(osc::ReceivedMessage(packet), faderCount));
    }
}

}  // namespace

RemoteDatagram decodeOscDatagram(const QByteArray& datagram, int faderCount) {
    RemoteDatagram out;
    // OSC packets come in whole 4-byte words, starting with '/' or "#bundle".
    if (datagram.isEmpty() ||
        (datagram.front() != '/' && !datagram.startsWith(QByteArrayLiteral("#bundle")))) {
        out.push_back(fault(RemoteFault::NotOsc, QString()));
        return out;
    }
    if (!isSoundOsc(datagram.constData(), static_cast<std::size_t>(datagram.size()))) {
        out.push_back(fault(RemoteFault::Truncated, QString()));
        return out;
    }
    try {
        const osc::ReceivedPacket packet(datagram.constData(),
                                         static_cast<std::size_t>(datagram.size()));
        decodeElement(packet.Contents(), packet.Size(), packet.IsBundle(), 0, faderCount, out);
    } catch (const osc::Exception&) {
        // What came before the damage stands; the rest is cut off.
        out.push_back(fault(RemoteFault::Truncated, QString()));
    }
    return out;
}
