// Any datagram through the remote control, from its bytes to the moves and
// recalls it asks of the panel: no crash, nothing asked of a fader that does
// not exist, no value a well-formed message could not carry.
#include <QCoreApplication>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "ErrorSink.h"
#include "FuzzCheck.h"
#include "OscDecoder.h"
#include "RemoteServer.h"
#include "RemoteTarget.h"

namespace {

constexpr int Faders = 20;

class NullLog : public ErrorSink {
public:
    void LogError(const QString&, const QString&) override {}
};

class WatchedTarget : public RemoteTarget {
public:
    int faderCount() const override { return Faders; }
    int16_t faderCode(int fader) const override {
        require(fader >= 0 && fader < Faders, "only a fader that exists is read");
        return 1024;
    }
    RemotePicture picture() const override { return {}; }
    void moveFader(int fader, int /*code*/, const QString& sender) override {
        require(fader >= 0 && fader < Faders, "only a fader that exists is moved");
        require(!sender.isEmpty(), "a remote move names its sender");
    }
    QString recallSnapshot(const QString& /*name*/, std::optional<double> fadeSeconds,
                           const QString& /*sender*/) override {
        require(!fadeSeconds || std::isfinite(*fadeSeconds), "a fade is a number of seconds");
        return QString();
    }
};

void checkDecoded(const QByteArray& datagram) {
    for (const RemoteDecoded& decoded : decodeOscDatagram(datagram, Faders)) {
        const auto* command = std::get_if<RemoteCommand>(&decoded);
        if (!command) continue;
        require(std::isfinite(command->value), "a command's value is a number");
        require(!command->port || (*command->port >= 1 && *command->port <= 65535),
                "a feedback port is a port");
        const bool forFader = command->kind != RemoteCommand::Kind::SnapshotRecall &&
                              command->kind != RemoteCommand::Kind::Subscribe &&
                              command->kind != RemoteCommand::Kind::Unsubscribe;
        require(!forFader || (command->fader >= 0 && command->fader < Faders),
                "a fader command names a fader of the panel");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "OscDatagramFuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static NullLog log;
    static WatchedTarget target;
    static RemoteServer server(target, log);
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkDecoded(datagram);
    server.handleDatagram(datagram, QHostAddress::LocalHost, 9000);
    QCoreApplication::processEvents();  // the gathered moves, carried out
    return 0;
}
