#include "RemoteSettingsStore.h"

#include "PanelIni.h"

namespace {
const QString Section = QStringLiteral("Remote Control");
}  // namespace

// A port that cannot be read keeps its default; an address that is no
// address cannot be listened on, which the remote control logs.
RemoteSettings loadRemoteSettings(const PanelIni& ini) {
    RemoteSettings settings;
    settings.enabled = ini.value(Section, QStringLiteral("Enabled")) == QStringLiteral("1");
    const QString address = ini.value(Section, QStringLiteral("Address"));
    if (!address.isEmpty()) settings.address = address;
    bool ok = false;
    const int port = ini.value(Section, QStringLiteral("Port")).toInt(&ok);
    if (ok && port >= 1 && port <= 65535) settings.port = port;
    for (const QString& allowed : ini.value(Section, QStringLiteral("Allowed"))
                                      .split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        settings.allowed << allowed.trimmed();
    }
    return settings;
}

void saveRemoteSettings(PanelIni& ini, const RemoteSettings& settings) {
    ini.replaceSection(Section,
                       {{QStringLiteral("Enabled"), settings.enabled ? "1" : "0"},
                        {QStringLiteral("Address"), settings.address},
                        {QStringLiteral("Port"), QString::number(settings.port)},
                        {QStringLiteral("Allowed"), settings.allowed.join(QStringLiteral(", "))}});
}
