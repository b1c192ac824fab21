// Setting up the live panel: its settings file, window and handshake.
#include "LivePanel.h"

#include <QFile>
#include <QTest>

#include "SwitcherLinkFactory.h"
#include "SwitcherTraffic.h"

namespace {

constexpr int Patience = 5000;                // ms
constexpr qsizetype HandshakeBytes = 5 + 13;  // type reply, information request

QByteArray Settings(uint16_t port) {
    QByteArray text = "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=20\r\n";
    for (int n = 1; n <= LivePanel::Faders; ++n) {
        text += "Chan " + QByteArray::number(n) + "=" + QByteArray::number(n) + "\r\n";
        text += "Link " + QByteArray::number(n) + "=0\r\n";
    }
    return text + "IP Address=127.0.0.1\r\nIP Port=" + QByteArray::number(port) + "\r\n";
}

}  // namespace

LivePanel::LivePanel() {
    QFile file(dir_.filePath(QStringLiteral("Slider.ini")));
    if (file.open(QIODevice::WriteOnly)) file.write(Settings(switcher_.Port()));
    file.close();
    window_ = std::make_unique<MainWindow>(dir_.path(), log_, &MakeSwitcherLink);
    window_->show();
}

bool LivePanel::Handshake() {
    if (!QTest::qWaitFor([this] { return switcher_.HasPanel(); }, Patience)) return false;
    switcher_.Send(Traffic::TypeRequest());
    return QTest::qWaitFor([this] { return switcher_.ReceivedCount() >= HandshakeBytes; },
                           Patience);
}
