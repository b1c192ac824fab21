// File > Setup on the live panel: "&Ok" reconnects only when the address or
// port changed, saves the settings, and the fader bank follows the new count
// once the dialog has closed.
#include "FaderBank.h"
#include "FaderStrip.h"
#include "LoopbackSwitcher.h"
#include "Twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// Runs fill on the setup dialog once it is up, then presses "&Ok".
void WhenSetupOpens(std::function<void(QWidget&)> fill) {
    QTimer::singleShot(50, [fill] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return WhenSetupOpens(fill);
        fill(*dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                          Qt::LeftButton);
    });
}

void Retype(QWidget& dialog, const char* box, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(box));
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
    void okWithNewPortReconnectsAndGrowsTheBank();
    void okWithSameAddressKeepsTheConnection();
};

void SetupEndToEndTest::okWithNewPortReconnectsAndGrowsTheBank() {
    LoopbackSwitcher first;
    LoopbackSwitcher second;
    LivePanel panel;
    panel.WriteIni(Ini(first.Port(), 15, {1}));
    MainWindow& window = panel.Open();
    QTRY_VERIFY_WITH_TIMEOUT(first.PeerOpen(), Patience);
    for (int ch = 0; ch < 4; ++ch) {
        window.State().DestinationAlpha[ch] = QStringLiteral("OUT %1").arg(ch + 1);
    }

    WhenSetupOpens([&](QWidget& dialog) {
        Retype(dialog, "txtCount", QStringLiteral("4"));
        for (int row = 1; row < 4; ++row) {
            Retype(dialog, qPrintable(QStringLiteral("txtChan(%1)").arg(row)),
                   QString::number(row + 1));
        }
        Retype(dialog, "txtIPPort", QString::number(second.Port()));
    });
    panel.Menu(QStringLiteral("&Setup"))->trigger();

    // The bank grew and was relabelled after the dialog closed.
    FaderBank& bank = window.Bank();
    QCOMPARE(bank.StripCount(), 4);
    QCOMPARE(window.frameGeometry().width(), Twips(6375));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(bank.Strip(i).lblChan()->text(), QStringLiteral("OUT %1").arg(i + 1));
    }
    // The old link closed, the new one opened, the file holds the new settings.
    QTRY_VERIFY_WITH_TIMEOUT(second.PeerOpen(), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!first.PeerOpen(), Patience);
    QCOMPARE(window.State().IPPort, int32_t(second.Port()));
    QFile ini(panel.dir.filePath(QStringLiteral("Slider.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray saved = ini.readAll();
    QVERIFY(saved.contains("Fader Count=4\r\n"));
    QVERIFY(saved.contains("IP Port=" + QByteArray::number(second.Port()) + "\r\n"));
}

void SetupEndToEndTest::okWithSameAddressKeepsTheConnection() {
    LoopbackSwitcher switcher;
    LivePanel panel;
    panel.WriteIni(Ini(switcher.Port(), 15, {1, 2}));
    MainWindow& window = panel.Open();
    QTRY_VERIFY_WITH_TIMEOUT(switcher.PeerOpen(), Patience);

    WhenSetupOpens([](QWidget& dialog) { Retype(dialog, "txtCount", QStringLiteral("1")); });
    panel.Menu(QStringLiteral("&Setup"))->trigger();

    QCOMPARE(window.Bank().StripCount(), 1);
    QCOMPARE(window.frameGeometry().width(), Twips(1695));
    QTest::qWait(200);
    QVERIFY(switcher.PeerOpen());
    QCOMPARE(switcher.connections, 1);
    QVERIFY(panel.Menu(QStringLiteral("&Disconnect")));
}

QTEST_MAIN(SetupEndToEndTest)
#include "SetupEndToEndTest.moc"
