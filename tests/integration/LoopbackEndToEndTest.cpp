// The whole panel (real window, real link) against a switcher played by a
// loopback server inside the test, which keeps what the panel sends and sends
// whatever the test tells it to: the start-up exchange labelling the faders,
// and File > Setup replacing the link only when the address or port changed.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "LivePanel.h"

namespace {

constexpr int Patience = 5000;  // ms
const QByteArray TypeReply = QByteArray::fromHex("810A010BFF");

struct LoopbackSwitcher {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
    int connections = 0;

    LoopbackSwitcher() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            ++connections;
            QObject::connect(peer, &QTcpSocket::readyRead, peer,
                             [this, p = peer] { received += p->readAll(); });
        });
    }
    void send(const char* hex) { peer->write(QByteArray::fromHex(hex)); }
    bool peerOpen() const { return peer && peer->state() == QAbstractSocket::ConnectedState; }
};

void retype(QWidget& dialog, const QString& box, int number) {
    auto* edit = dialog.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QString::number(number));
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

class LoopbackEndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Destinations "PGML", "PGMR", "MIC1", the first two a stereo pair;
    // sources "SRC1", "SRC2", not linked.
    void tablesLabelTheFaders() {
        LoopbackSwitcher switcher;
        LivePanel panel(switcher.server.serverPort(), 15, 3);
        QTRY_VERIFY_WITH_TIMEOUT(switcher.peerOpen(), Patience);
        switcher.send("816464FF");
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received,
                                  TypeReply + QByteArray::fromHex("F2001E020000000000000020FF"),
                                  Patience);
        switcher.send("FC0A040200000053524331000053524332010044FF");
        switcher.send("FC14040300000050474D4C000050474D5201004D49433102000EFF");
        switcher.send("FA0A0200000000000CFF");
        switcher.send("FA140300000001010019FF");
        QTRY_COMPARE_WITH_TIMEOUT(panel.state().LastInfoRequest, 0x8000, Patience);
        QCOMPARE(panel.names(), QStringList({"PGML", "PGMR", "MIC1"}));
        QVERIFY(stereoBoxOf(panel.strip(0))->isVisible() &&
                stereoBoxOf(panel.strip(1))->isVisible());
        QVERIFY(!stereoBoxOf(panel.strip(2))->isVisible());
        QVERIFY2(panel.log.entries.isEmpty(), panel.logText().constData());
    }

    // Shrunk to one fader on the same port, then grown to four on a new one.
    void setupReconnectsOnlyOnChange() {
        LoopbackSwitcher first, second;
        LivePanel panel(first.server.serverPort(), 15, 2);
        QTRY_VERIFY_WITH_TIMEOUT(first.peerOpen(), Patience);
        for (size_t ch = 0; ch < 4; ++ch)
            panel.state().DestinationAlpha[ch] = QStringLiteral("OUT %1").arg(ch + 1);
        const auto setup = [&panel](int count, LoopbackSwitcher& wanted) {
            // Runs inside the dialog's own event loop, once it is shown.
            QTimer::singleShot(0, panel.window.get(), [&] {
                QWidget& dialog = *QApplication::activeModalWidget();
                retype(dialog, "txtCount", count);
                for (int row = 0; row < count; ++row)
                    retype(dialog, QStringLiteral("txtChan(%1)").arg(row), row + 1);
                retype(dialog, "txtIPPort", wanted.server.serverPort());
                QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
            });
            panel.menu("&Setup")->trigger();
            // The bank followed the count and was relabelled once the dialog closed.
            QCOMPARE(panel.window->bank().stripCount(), count);
            for (int i = 0; i < count; ++i)
                QCOMPARE(panel.name(i), QStringLiteral("OUT %1").arg(i + 1));
            // A needless reconnect would have dropped the link before the
            // switcher's type request, which would then go unanswered.
            QTRY_VERIFY_WITH_TIMEOUT(wanted.peerOpen(), Patience);
            wanted.send("816464FF");
            QTRY_VERIFY_WITH_TIMEOUT(wanted.received.startsWith(TypeReply), Patience);
            QCOMPARE(wanted.connections, 1);
        };
        setup(1, first);
        setup(4, second);
        // ...and the settings file holds what was chosen.
        QVERIFY(
            readFile(panel.dir.filePath(QStringLiteral("Slider.ini")))
                .contains("IP Port=" + QByteArray::number(second.server.serverPort()) + "\r\n"));
    }
};

QTEST_MAIN(LoopbackEndToEndTest)
#include "LoopbackEndToEndTest.moc"
