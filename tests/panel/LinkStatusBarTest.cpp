// The status bar under the fader bank: its words for each state of the link,
// how it fits a window one fader wide, what it adds to the window, and the
// dimmed read-outs of a panel that is not live.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "FaderBank.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "LinkStatusBar.h"
#include "LinkStatusText.h"
#include "PanelFixture.h"
#include "Twips.h"

namespace {

LinkStatus Status(LinkPhase phase) {
    LinkStatus status;
    status.phase = phase;
    status.address = QStringLiteral("127.0.0.1");
    status.port = 1250;
    return status;
}

LinkStatus Live(int sources, int destinations) {
    LinkStatus status = Status(LinkPhase::Live);
    status.sources = sources;
    status.destinations = destinations;
    return status;
}

LinkStatus Retrying(LinkPhase phase, bool wasUp, int seconds) {
    LinkStatus status = Status(phase);
    status.since = QTime(17, 5, 9);
    status.linkWasUp = wasUp;
    status.retryInSeconds = seconds;
    return status;
}

QList<FaderSetting> Faders(int count) {
    QList<FaderSetting> faders;
    for (int i = 0; i < count; ++i) faders << FaderSetting{i + 1, 0};
    return faders;
}

void WhenSetupOpens(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, qApp, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        dialog ? act(*dialog) : WhenSetupOpens(act);
    });
}

}  // namespace

class LinkStatusBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texts_data() {
        QTest::addColumn<LinkStatus>("status");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("brief");
        QTest::newRow("down") << Status(LinkPhase::Down) << "Not connected"
                              << "Not connected";
        QTest::newRow("connecting")
            << Status(LinkPhase::Connecting) << "Connecting to 127.0.0.1:1250"
            << "Connecting to\n127.0.0.1:1250";
        QTest::newRow("waiting") << Status(LinkPhase::Waiting)
                                 << "Connected to 127.0.0.1:1250, waiting for the switcher"
                                 << "Connected, waiting\nfor the switcher";
        QTest::newRow("live") << Live(32, 64) << "Live: 32 sources, 64 destinations"
                              << "Live: 32 sources\n64 destinations";
        QTest::newRow("live, one of each") << Live(1, 1) << "Live: 1 source, 1 destination"
                                           << "Live: 1 source\n1 destination";
        QTest::newRow("lost, counting down") << Retrying(LinkPhase::RetryWait, true, 16)
                                             << "Connection lost at 17:05:09, retrying in 16 s"
                                             << "Lost at 17:05:09\nretrying in 16 s";
        QTest::newRow("lost, attempt under way") << Retrying(LinkPhase::RetryAttempt, true, 0)
                                                 << "Connection lost at 17:05:09, retrying now"
                                                 << "Lost at 17:05:09\nretrying now";
        QTest::newRow("never got through") << Retrying(LinkPhase::RetryWait, false, 30)
                                           << "Connection failed at 17:05:09, retrying in 30 s"
                                           << "Failed at 17:05:09\nretrying in 30 s";
    }
    void texts() {
        QFETCH(LinkStatus, status);
        QFETCH(QString, full);
        QFETCH(QString, brief);
        QCOMPARE(LinkStatusText(status), full);
        QCOMPARE(LinkStatusShortText(status), brief);
    }

    // 115 pixels: the short form shows unclipped, the tooltip has it all.
    void oneFaderWideShowsTheShortForm_data() { texts_data(); }
    void oneFaderWideShowsTheShortForm() {
        QFETCH(LinkStatus, status);
        QFETCH(QString, full);
        QFETCH(QString, brief);
        PanelFixture panel;
        MainWindow& window = panel.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowLinkStatus(status);
        LinkStatusBar& bar = window.LinkBar();
        QCOMPARE(bar.ShownText(), brief);
        QCOMPARE(bar.toolTip(), full);
        auto* label = bar.findChild<QLabel*>();
        const QFontMetrics metrics(label->font());
        for (const QString& line : bar.ShownText().split('\n')) {
            QVERIFY2(metrics.horizontalAdvance(line) <= label->contentsRect().width(),
                     qPrintable(line));
        }
        QCOMPARE(label->accessibleName(), full);
    }

    void wideWindowShowsTheFullSentence() {
        PanelFixture panel;
        panel.WriteIni(15, Faders(4));
        MainWindow& window = panel.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const LinkStatus lost = Retrying(LinkPhase::RetryWait, true, 8);
        window.ShowLinkStatus(lost);
        QCOMPARE(window.LinkBar().ShownText(), LinkStatusText(lost));
    }

    // An address too long even for the short form is cut with an ellipsis,
    // never widening the window.
    void overlongLineIsElided() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        LinkStatus status = Status(LinkPhase::Connecting);
        status.address = QStringLiteral("255.255.255.255");
        status.port = 65535;
        window.ShowLinkStatus(status);
        const QStringList lines = window.LinkBar().ShownText().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].endsWith(QChar(0x2026)), qPrintable(lines[1]));
        QCOMPARE(window.width(), Twips(1725));
    }

    void windowGrowsByTheBarOnly_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one fader") << 1;
        QTest::newRow("five faders") << 5;
    }
    void windowGrowsByTheBarOnly() {
        QFETCH(int, count);
        PanelFixture panel;
        panel.WriteIni(15, Faders(count));
        MainWindow& window = panel.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FaderBank& bank = window.Bank();
        const QWidget& bar = window.LinkBar();
        QCOMPARE(bank.height(), Twips(6045));
        QCOMPARE(window.height(), window.menuBar()->height() + Twips(6045) + bar.height());
        QCOMPARE(bar.geometry().top(), bank.geometry().bottom() + 1);
        QCOMPARE(bar.width(), window.width());
        const int firstLeft = count == 1 ? 200 : 120;
        for (int i = 0; i < count; ++i) {
            QCOMPARE(bank.Strip(i).geometry(),
                     QRect(Twips(firstLeft + 1560 * i), Twips(120), Twips(1335), Twips(5655)));
        }
        if (count > 1) QCOMPARE(window.frameGeometry().width(), Twips(120 + 1560 * 4 + 1575));
    }

    void readoutsDimmedUnlessLive() {
        PanelFixture panel;
        panel.WriteIni(15, Faders(2));
        MainWindow& window = panel.Open();
        FaderStrip& strip = window.Bank().Strip(1);
        const QColor normal = window.palette().color(QPalette::WindowText);
        QVERIFY(!strip.IsConfirmed());  // nothing confirmed before the switcher speaks
        QVERIFY(strip.lblGain()->palette().color(QPalette::WindowText) != normal);
        QVERIFY(strip.lblGain()->font().italic());

        window.ShowLinkStatus(Live(2, 3));
        QVERIFY(strip.IsConfirmed());
        QCOMPARE(strip.lblGain()->palette().color(QPalette::WindowText), normal);
        QVERIFY(!strip.lblGain()->font().italic());

        window.ShowLinkStatus(Retrying(LinkPhase::RetryWait, true, 1));
        QVERIFY(!strip.IsConfirmed());
        // Marked, not disabled: the operator may still move it.
        QVERIFY(strip.sliGain()->isEnabled() && strip.cmdZerodb()->isEnabled());
    }

    void stripsAddedWhileLiveAreConfirmed() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        window.ShowLinkStatus(Live(2, 3));
        WhenSetupOpens([&window](QDialog& setup) {
            window.State().FaderCount = 3;  // as if accepted
            window.State().Chan.assign(3, 0);
            setup.reject();
        });
        window.findChild<QMenuBar*>()->actions().at(0)->menu()->actions().at(0)->trigger();
        QCOMPARE(window.Bank().StripCount(), 3);
        QVERIFY(window.Bank().Strip(2).IsConfirmed());
    }
};

QTEST_MAIN(LinkStatusBarTest)
#include "LinkStatusBarTest.moc"
