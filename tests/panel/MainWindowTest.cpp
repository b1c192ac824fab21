// The main window's menus, connect item, message box, About dialog, setup
// round trip and shutdown.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "AboutDialog.h"
#include "FaderBank.h"
#include "FaderStrip.h"
#include "PanelFixture.h"
#include "Twips.h"

namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) captions << (action->isSeparator() ? "-" : action->text());
    return captions;
}

QAction* MenuItem(MainWindow& window, int menu, int item) {
    return window.menuBar()->actions().at(menu)->menu()->actions().at(item);
}

// Hands the next modal window to inspect, which must close it.
void OnNextModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        modal ? inspect(modal) : OnNextModal(inspect);
    });
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionAndMenus() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        QCOMPARE(window.windowTitle(), QStringLiteral("ORX Level Control"));
        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(Captions(menus), QStringList({"&File", "&Help"}));
        QCOMPARE(Captions(menus[0]->menu()->actions()),
                 QStringList({"&Setup", "-", "&Connect", "-", "E&xit"}));
        QCOMPARE(Captions(menus[1]->menu()->actions()), QStringList({"&About"}));
    }

    void connectItemFollowsLinkState() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        QCOMPARE(panel.link->connects, 1);  // at start-up
        window.mnuConnect()->trigger();
        QCOMPARE(panel.link->connects, 2);
        window.State().Connected = true;
        window.SetConnectCaption(QStringLiteral("&Disconnect"));
        QCOMPARE(MenuItem(window, 0, 2)->text(), QStringLiteral("&Disconnect"));
        MenuItem(window, 0, 2)->trigger();
        QCOMPARE(panel.link->disconnects, 1);
        QCOMPARE(panel.link->connects, 2);
    }

    void connectFailureBox() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
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
        window.ShowConnectFailure();
        QCOMPARE(boxes, 1);
    }

    void aboutShowsSameCaptionEachTime() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        QList<AboutDialog*> seen;
        for (int opening = 1; opening <= 2; ++opening) {
            OnNextModal([&seen](QWidget* modal) {
                seen << qobject_cast<AboutDialog*>(modal);
                QVERIFY(seen.last());
                QCOMPARE(seen.last()->lblVersionInfo(),
                         QStringLiteral("ORX Output Level Control\r1.06 - 04/06/20"));
                QTest::mouseClick(seen.last()->cmdAboutquit(), Qt::LeftButton);
            });
            MenuItem(window, 1, 0)->trigger();
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
        QList<int16_t> linkSeenByDialog;
        OnNextModal([&](QWidget* modal) {
            linkSeenByDialog = QList<int16_t>(state.Link.begin(), state.Link.end());
            state.FaderCount = static_cast<int16_t>(newCount);  // as if accepted
            state.Chan.assign(static_cast<size_t>(newCount), 0);
            state.DestinationAlpha[0] = QStringLiteral("PGM L");
            state.OutputGains[0].DspOutput = 1029;
            qobject_cast<QDialog*>(modal)->reject();
        });
        MenuItem(window, 0, 0)->trigger();

        QCOMPARE(linkSeenByDialog, QList<int16_t>({0, 0}));
        QCOMPARE(window.Bank().StripCount(), newCount);
        const int lastLeft = newCount == 1 ? 120 : 120 + 1560 * (newCount - 1);
        QCOMPARE(window.frameGeometry().width(), Twips(lastLeft + 1575));
        for (int i = 0; i < newCount; ++i) {
            QCOMPARE(window.Bank().Strip(i).lblChan()->text(), QStringLiteral("PGM L"));
            QCOMPARE(window.Bank().Strip(i).lblGain()->text(), QStringLiteral("Gain (+0.5db)"));
        }
    }

    void closingWritesStereoBoxes() {
        PanelFixture panel;
        panel.WriteIni(15, {{4, 1}, {7, 0}, {9, 1}});
        MainWindow& window = panel.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.Bank().Strip(0).chkStereo(), Qt::LeftButton);
        QTest::mouseClick(window.Bank().Strip(1).chkStereo(), Qt::LeftButton);
        QVERIFY(window.close());
        QCOMPARE(panel.link->disconnects, 1);
        QCOMPARE(panel.IniLines().mid(3, 6), QStringList({"Chan 1=4", "Link 1=0", "Chan 2=7",
                                                          "Link 2=1", "Chan 3=9", "Link 3=1"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
