// What a remote controller may ask of the panel, as read from its OSC
// messages, and what can be wrong with what it sends.
#pragma once

#include <QString>
#include <optional>
#include <variant>
#include <vector>

struct RemoteCommand {
    enum class Kind {
        FaderDb,         // /fader/N/db f|i: the gain in dB
        FaderCode,       // /fader/N/code i: the gain code
        FaderNudge,      // /fader/N/nudge f: by that many dB
        FaderZero,       // /fader/N/zero: as the 0db button
        SnapshotRecall,  // /snapshot/recall s [f]: by name, optionally as a fade
        Subscribe,       // /subscribe [i]: feedback to the sender (or that port)
        Unsubscribe,     // /unsubscribe
    };
    Kind kind = Kind::FaderDb;
    int fader = 0;  // 0-based
    double value = 0;
    QString name;
    std::optional<double> fadeSeconds;
    std::optional<int> port;
};

enum class RemoteFault {
    NotOsc,
    Truncated,
    UnknownAddress,
    WrongArguments,
    FaderOutOfRange,
};

struct RemoteFaultReport {
    RemoteFault fault = RemoteFault::NotOsc;
    QString address;  // the message's address, when there was one
};

using RemoteDecoded = std::variant<RemoteCommand, RemoteFaultReport>;
using RemoteDatagram = std::vector<RemoteDecoded>;

// The error log's text for a fault: "Unknown OSC address /fader/3/pan" ...
QString faultDescription(const RemoteFaultReport& report);
