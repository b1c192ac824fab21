#include "LinkStatusText.h"

namespace {

QString Endpoint(const LinkStatus& status) {
    return status.address + QLatin1Char(':') + QString::number(status.port);
}

QString Count(int n, const char* singular, const char* plural) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? singular : plural);
}

QString Sources(const LinkStatus& status) { return Count(status.sources, "source", "sources"); }

QString Destinations(const LinkStatus& status) {
    return Count(status.destinations, "destination", "destinations");
}

QString Since(const LinkStatus& status) {
    return status.since.toString(QStringLiteral("HH:mm:ss"));
}

QString RetryWhen(const LinkStatus& status) {
    if (status.phase == LinkPhase::RetryAttempt) return QStringLiteral("retrying now");
    return QStringLiteral("retrying in %1 s").arg(status.retryInSeconds);
}

}  // namespace

QString LinkStatusText(const LinkStatus& status) {
    switch (status.phase) {
        case LinkPhase::Down:
            break;
        case LinkPhase::Connecting:
            return QStringLiteral("Connecting to ") + Endpoint(status);
        case LinkPhase::Waiting:
            return QStringLiteral("Connected to ") + Endpoint(status) +
                   QStringLiteral(", waiting for the switcher");
        case LinkPhase::Live:
            return QStringLiteral("Live: ") + Sources(status) + QStringLiteral(", ") +
                   Destinations(status);
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            return (status.linkWasUp ? QStringLiteral("Connection lost at ")
                                     : QStringLiteral("Connection failed at ")) +
                   Since(status) + QStringLiteral(", ") + RetryWhen(status);
    }
    return QStringLiteral("Not connected");
}

QString LinkStatusShortText(const LinkStatus& status) {
    switch (status.phase) {
        case LinkPhase::Down:
            break;
        case LinkPhase::Connecting:
            return QStringLiteral("Connecting to\n") + Endpoint(status);
        case LinkPhase::Waiting:
            return QStringLiteral("Connected, waiting\nfor the switcher");
        case LinkPhase::Live:
            return QStringLiteral("Live: ") + Sources(status) + QLatin1Char('\n') +
                   Destinations(status);
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            return (status.linkWasUp ? QStringLiteral("Lost at ") : QStringLiteral("Failed at ")) +
                   Since(status) + QLatin1Char('\n') + RetryWhen(status);
    }
    return QStringLiteral("Not connected");
}
