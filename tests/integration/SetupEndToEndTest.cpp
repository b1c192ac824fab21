// File > Setup on the live panel: "&Ok" reconnects only when the address or
// port changed, saves the settings, and the fader bank follows the new count
// once the dialog has closed.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "LoopbackSwitcher.h"
#include "Twips.h"

namespace {

// Runs fill on the setup dialog once it is up, then presses "&Ok".
void WhenSetupOpens(std::function<void(QWidget&)> fill) {
    QTimer::singleShot(50, [fill] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return WhenSetupOpens(fill);
        fill(*dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
    });
}

void Retype(QWidget& dialog, const QString& box, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

class SetupEndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okAppliesAndReconnectsOnlyOnChange_data() {
        QTest::addColumn<int>("faders");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("newPort");
        QTest::addColumn<int>("widthTwips");
        QTest::newRow("new port, grown to 4") << 1 << 4 << true << 6375;
        QTest::newRow("same address, shrunk to 1") << 2 << 1 << false << 1695;
    }
    void okAppliesAndReconnectsOnlyOnChange() {
        QFETCH(int, faders);
        QFETCH(int, count);
        QFETCH(bool, newPort);
        QFETCH(int, widthTwips);
        LoopbackSwitcher first;
        LoopbackSwitcher second;
        LoopbackSwitcher& wanted = newPort ? second : first;
        LivePanel panel(first.Port(), 15, faders);
        QTRY_VERIFY_WITH_TIMEOUT(first.PeerOpen(), Patience);
        for (size_t ch = 0; ch < 4; ++ch) {
            panel.State().DestinationAlpha[ch] = QStringLiteral("OUT %1").arg(ch + 1);
        }
        WhenSetupOpens([&](QWidget& dialog) {
            Retype(dialog, "txtCount", QString::number(count));
            for (int row = faders; row < count; ++row) {
                Retype(dialog, QStringLiteral("txtChan(%1)").arg(row), QString::number(row + 1));
            }
            Retype(dialog, "txtIPPort", QString::number(wanted.Port()));
        });
        panel.Menu("&Setup")->trigger();

        // The bank followed the count and was relabelled after the dialog closed.
        QCOMPARE(panel.window->Bank().StripCount(), count);
        QCOMPARE(panel.window->frameGeometry().width(), Twips(widthTwips));
        for (int i = 0; i < count; ++i)
            QCOMPARE(panel.Name(i), QStringLiteral("OUT %1").arg(i + 1));
        // Only a new port replaces the link; the file holds the new settings.
        QTRY_VERIFY_WITH_TIMEOUT(wanted.PeerOpen() && first.PeerOpen() != newPort, Patience);
        QTest::qWait(200);  // time for a needless reconnect to show
        QCOMPARE(wanted.connections, 1);
        QVERIFY(wanted.PeerOpen());
        QVERIFY(panel.Menu("&Disconnect"));
        QCOMPARE(panel.State().IPPort, int32_t(wanted.Port()));
        const QByteArray saved = ReadFile(panel.dir.filePath(QStringLiteral("Slider.ini")));
        QVERIFY(saved.contains("Fader Count=" + QByteArray::number(count) + "\r\n"));
        QVERIFY(saved.contains("IP Port=" + QByteArray::number(wanted.Port()) + "\r\n"));
    }
};

QTEST_MAIN(SetupEndToEndTest)
#include "SetupEndToEndTest.moc"
