#include "LinkStatusText.h"

namespace {

QString endpoint(const LinkStatus& status) {
    return status.address + QLatin1Char(':') + QString::number(status.port);
}

QString count(int n, const char* singular, const char* plural) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? singular : plural);
}

QString sources(const LinkStatus& status) { return count(status.sources, "source", "sources"); }

QString destinations(const LinkStatus& status) {
    return count(status.destinations, "destination", "destinations");
}

QString since(const LinkStatus& status) {
    return status.since.toString(QStringLiteral("HH:mm:ss"));
}

QString retryWhen(const LinkStatus& status) {
    if (status.phase == LinkPhase::RetryAttempt) return QStringLiteral("retrying now");
    return QStringLiteral("retrying in %1 s").arg(status.retryInSeconds);
}

}  // namespace

QString linkStatusText(const LinkStatus& status) {
    switch (status.phase) {
        case LinkPhase::Down:
            break;
        case LinkPhase::Connecting:
            return QStringLiteral("Connecting to ") + endpoint(status);
        case LinkPhase::Waiting:
            return QStringLiteral("Connected to ") + endpoint(status) +
                   QStringLiteral(", waiting for the switcher");
        case LinkPhase::Live:
            return QStringLiteral("Live: ") + sources(status) + QStringLiteral(", ") +
                   destinations(status);
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            return (status.linkWasUp ? QStringLiteral("Connection lost at ")
                                     : QStringLiteral("Connection failed at ")) +
                   since(status) + QStringLiteral(", ") + retryWhen(status);
    }
    return QStringLiteral("Not connected");
}

QString linkStatusShortText(const LinkStatus& status) {
    switch (status.phase) {
        case LinkPhase::Down:
            break;
        case LinkPhase::Connecting:
            return QStringLiteral("Connecting to\n") + endpoint(status);
        case LinkPhase::Waiting:
            return QStringLiteral("Connected, waiting\nfor the switcher");
        case LinkPhase::Live:
            return QStringLiteral("Live: ") + sources(status) + QLatin1Char('\n') +
                   destinations(status);
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            return (status.linkWasUp ? QStringLiteral("Lost at ") : QStringLiteral("Failed at ")) +
                   since(status) + QLatin1Char('\n') + retryWhen(status);
    }
    return QStringLiteral("Not connected");
}
