// The main window's menus, connect item, message box, About dialog, setup
// round trip and shutdown.
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include "AboutDialog.h"
#include "PanelFixture.h"
#include "Twips.h"

namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) captions << (action->isSeparator() ? "-" : action->text());
    return captions;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionMenusAndConnectItem() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        QCOMPARE(window.windowTitle(), QStringLiteral("ORX Level Control"));
        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(Captions(menus), QStringList({"&File", "&Help"}));
        QCOMPARE(Captions(menus[0]->menu()->actions()),
                 QStringList({"&Setup", "-", "&Connect", "-", "E&xit"}));
        QCOMPARE(Captions(menus[1]->menu()->actions()), QStringList({"&About"}));

        QCOMPARE(panel.link->connects, 1);  // at start-up; the connect item follows the link
        panel.MenuItem(0, 2)->trigger();
        QCOMPARE(panel.link->connects, 2);
        window.SetConnectCaption(QStringLiteral("&Disconnect"));
        QCOMPARE(panel.MenuItem(0, 2)->text(), QStringLiteral("&Disconnect"));
        window.State().Connected = true;
        panel.MenuItem(0, 2)->trigger();
        QCOMPARE(panel.link->disconnects, 1);
        QCOMPARE(panel.link->connects, 2);
    }

    void connectFailureBox() {
        PanelFixture panel;
        int boxes = 0;
        OnNextModal([&boxes](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            ++boxes;
            QCOMPARE(box->text(), QStringLiteral("Unable to connect to remote host"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Tavrel"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        panel.Open().ShowConnectFailure();
        QCOMPARE(boxes, 1);
    }

    // Opened twice, the caption must not be built up again.
    void aboutShowsSameCaptionEachTime() {
        PanelFixture panel;
        panel.Open();
        QList<AboutDialog*> seen;
        for (int opening = 1; opening <= 2; ++opening) {
            OnNextModal([&seen](QWidget* modal) {
                seen << qobject_cast<AboutDialog*>(modal);
                QVERIFY(seen.last());
                QCOMPARE(seen.last()->lblVersionInfo(),
                         QStringLiteral("ORX Output Level Control\r1.06 - 04/06/20"));
                QTest::mouseClick(seen.last()->cmdAboutquit(), Qt::LeftButton);
            });
            panel.MenuItem(1, 0)->trigger();
            QCOMPARE(seen.size(), opening);
        }
        QCOMPARE(seen[0], seen[1]);
    }

    void setupResizesRelabelsAndRedraws_data() {
        QTest::addColumn<int>("newCount");
        QTest::newRow("grow") << 3;
        QTest::newRow("same") << 2;
        QTest::newRow("shrink to one") << 1;
    }
    void setupResizesRelabelsAndRedraws() {
        QFETCH(int, newCount);
        PanelFixture panel;
        panel.WriteIni(15, {{1, 1}, {2, 0}});
        MainWindow& window = panel.Open();
        PanelState& state = window.State();
        window.Bank().Strip(0).chkStereo()->setChecked(false);  // the operator clears it
        window.ShowLinkStatus(InPhase(LinkPhase::Live));
        QList<int16_t> linkSeenByDialog;
        OnNextModal([&](QWidget* modal) {
            linkSeenByDialog = QList<int16_t>(state.Link.begin(), state.Link.end());
            state.FaderCount = static_cast<int16_t>(newCount);  // as if accepted
            state.Chan.assign(static_cast<size_t>(newCount), 0);
            state.DestinationAlpha[0] = QStringLiteral("PGM L");
            state.OutputGains[0].DspOutput = 1029;
            qobject_cast<QDialog*>(modal)->reject();
        });
        panel.MenuItem(0, 0)->trigger();

        QCOMPARE(linkSeenByDialog, QList<int16_t>({0, 0}));
        const int lastLeft = newCount == 1 ? 120 : 120 + 1560 * (newCount - 1);
        QCOMPARE(window.frameGeometry().width(), Twips(lastLeft + 1575));
        QCOMPARE(panel.Texts(&FaderStrip::lblChan), QStringList(newCount, "PGM L"));
        QCOMPARE(panel.Texts(&FaderStrip::lblGain), QStringList(newCount, "Gain (+0.5db)"));
        QVERIFY(window.Bank().Strip(newCount - 1).IsConfirmed());  // new strips too
    }

    // The switcher sends its names before its links: a saved Stereo setting
    // must survive the moment its link is not known, and what the operator
    // then makes of a box is what closing saves.
    void closingSavesStereoBoxes() {
        PanelFixture panel;
        panel.WriteIni(15, {{5, 1}, {6, 1}, {7, 0}});
        MainWindow& window = panel.Open();
        QVERIFY(panel.Show());
        QCheckBox* first = window.Bank().Strip(0).chkStereo();
        window.LabelFaders();  // names arrived, links not yet
        QVERIFY(!first->isChecked() && first->isHidden());
        for (int ch = 4; ch <= 6; ++ch) window.State().DestinationLinks[ch] = 1;
        window.LabelFaders();  // links arrived
        QVERIFY(first->isChecked() && first->isVisible());
        QTest::mouseClick(window.Bank().Strip(1).chkStereo(), Qt::LeftButton);
        QTest::mouseClick(window.Bank().Strip(2).chkStereo(), Qt::LeftButton);
        window.LabelFaders();  // must not undo the operator's choice
        QVERIFY(window.close());
        QCOMPARE(panel.link->disconnects, 1);
        QCOMPARE(panel.IniLines().mid(3, 6), QStringList({"Chan 1=5", "Link 1=1", "Chan 2=6",
                                                          "Link 2=0", "Chan 3=7", "Link 3=1"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
