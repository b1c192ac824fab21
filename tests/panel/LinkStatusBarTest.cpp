// The status bar under the fader bank: its words for each state of the link
// in a window one fader wide and in a wider one, and the marked read-outs of
// a panel that is not live.
#include <QAccessible>
#include <QPushButton>

#include "FaderSlider.h"
#include "LinkStatusBar.h"
#include "LinkStatusText.h"
#include "PanelFixture.h"

namespace {

LinkStatus Status(LinkPhase phase, int sources = 0, int destinations = 0) {
    LinkStatus status = InPhase(phase);
    status.address = QStringLiteral("127.0.0.1");
    status.port = 1250;
    status.sources = sources;
    status.destinations = destinations;
    return status;
}

LinkStatus Lost(LinkPhase phase, bool wasUp, int seconds) {
    LinkStatus status = Status(phase);
    status.since = QTime(17, 5, 9);
    status.linkWasUp = wasUp;
    status.retryInSeconds = seconds;
    return status;
}

// Every way a read-out says it is not confirmed by the switcher.
QString Marks(const FaderStrip& strip, const QColor& normal) {
    QStringList marks;
    if (strip.lblGain()->palette().color(QPalette::WindowText) != normal) marks << "dimmed";
    if (!strip.IsConfirmed()) marks << "unconfirmed";
    auto* fader = QAccessible::queryAccessibleInterface(strip.sliGain());
    return (marks << fader->text(QAccessible::Description)).join(", ");
}

void Row(const char* name, const LinkStatus& status, const char* full, const char* brief) {
    QTest::newRow(name) << status << QString(full) << QString(brief);
}

}  // namespace

class LinkStatusBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 115 pixels wide: the short form shows unclipped; tooltip and screen
    // reader get the whole sentence.
    void oneFaderWideShowsTheShortForm_data() {
        QTest::addColumn<LinkStatus>("status");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("brief");
        Row("down", Status(LinkPhase::Down), "Not connected", "Not connected");
        Row("connecting", Status(LinkPhase::Connecting), "Connecting to 127.0.0.1:1250",
            "Connecting to\n127.0.0.1:1250");
        Row("waiting", Status(LinkPhase::Waiting),
            "Connected to 127.0.0.1:1250, waiting for the switcher",
            "Connected, waiting\nfor the switcher");
        Row("live", Status(LinkPhase::Live, 32, 64), "Live: 32 sources, 64 destinations",
            "Live: 32 sources\n64 destinations");
        Row("live, one of each", Status(LinkPhase::Live, 1, 1), "Live: 1 source, 1 destination",
            "Live: 1 source\n1 destination");
        Row("lost, counting down", Lost(LinkPhase::RetryWait, true, 16),
            "Connection lost at 17:05:09, retrying in 16 s", "Lost at 17:05:09\nretrying in 16 s");
        Row("lost, attempt under way", Lost(LinkPhase::RetryAttempt, true, 0),
            "Connection lost at 17:05:09, retrying now", "Lost at 17:05:09\nretrying now");
        Row("never got through", Lost(LinkPhase::RetryWait, false, 30),
            "Connection failed at 17:05:09, retrying in 30 s",
            "Failed at 17:05:09\nretrying in 30 s");
    }
    void oneFaderWideShowsTheShortForm() {
        QFETCH(LinkStatus, status);
        QFETCH(QString, full);
        QFETCH(QString, brief);
        QCOMPARE(LinkStatusText(status), full);
        PanelFixture panel;
        MainWindow& window = panel.Open();
        QVERIFY(panel.Show());
        window.ShowLinkStatus(status);
        LinkStatusBar& bar = window.LinkBar();
        QCOMPARE(bar.ShownText(), brief);
        QCOMPARE(bar.toolTip(), full);
        auto* label = bar.findChild<QLabel*>();
        QCOMPARE(label->accessibleName(), full);
        for (const QString& line : brief.split('\n')) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(),
                     qPrintable(line));
        }
    }

    // Four faders wide has room for the whole sentence; an address too long
    // even for the short form is cut with an ellipsis, never widening the window.
    void longTextsFitTheWindow_data() {
        QTest::addColumn<int>("faders");
        QTest::addColumn<LinkStatus>("status");
        QTest::addColumn<bool>("elided");
        LinkStatus far = Status(LinkPhase::Connecting);
        far.address = QStringLiteral("192.168.100.200.300.400.5");  // the file's 25 at most
        far.port = 65535;
        QTest::newRow("wide: full sentence") << 4 << Lost(LinkPhase::RetryWait, true, 8) << false;
        QTest::newRow("narrow: elided") << 1 << far << true;
    }
    void longTextsFitTheWindow() {
        QFETCH(int, faders);
        QFETCH(LinkStatus, status);
        QFETCH(bool, elided);
        PanelFixture panel;
        panel.WriteIni(15, Faders(faders));
        MainWindow& window = panel.Open();
        QVERIFY(panel.Show());
        const int width = window.width();
        window.ShowLinkStatus(status);
        const QString shown = window.LinkBar().ShownText();
        QCOMPARE(window.width(), width);
        if (!elided) QCOMPARE(shown, LinkStatusText(status));
        if (elided)
            QVERIFY2(shown.count('\n') == 1 && shown.endsWith(QChar(0x2026)), qPrintable(shown));
    }

    // Marked, to the eye and to a screen reader, but never disabled: the
    // operator may still move the fader.
    void readoutsMarkedUnlessLive() {
        PanelFixture panel;
        panel.WriteIni(15, Faders(2));
        MainWindow& window = panel.Open();
        const FaderStrip& strip = window.Bank().Strip(1);
        const QColor normal = window.palette().color(QPalette::WindowText);
        const QString marked = "dimmed, unconfirmed, Not confirmed by the switcher";
        QCOMPARE(Marks(strip, normal), marked);  // nothing confirmed before the switcher speaks
        window.ShowLinkStatus(Status(LinkPhase::Live, 2, 3));
        QCOMPARE(Marks(strip, normal), QString());
        window.ShowLinkStatus(Lost(LinkPhase::RetryWait, true, 1));
        QCOMPARE(Marks(strip, normal), marked);
        QVERIFY(strip.sliGain()->isEnabled() && strip.cmdZerodb()->isEnabled());
    }
};

QTEST_MAIN(LinkStatusBarTest)
#include "LinkStatusBarTest.moc"
