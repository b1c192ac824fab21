// The fader bank inside the real window: start-up layouts with the status bar
// under them, growing and shrinking with the window's outer width, labels and
// Stereo boxes by gain stage, and texts that must stay readable.
#include <QCheckBox>
#include <QPushButton>
#include <QStyleOptionButton>

#include "LinkStatusBar.h"
#include "PanelFixture.h"
#include "Twips.h"

namespace {

int OuterWidth(const QWidget& window) { return window.frameGeometry().width(); }

// Whether text shows in full inside the room the widget's style gives it.
bool Fits(QWidget* widget, const char* text) {
    QRect room = widget->contentsRect();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const auto element = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents
                                                              : QStyle::SE_PushButtonContents;
        room = button->style()->subElementRect(element, &option, button);
    }
    const QFontMetrics metrics(widget->font());
    return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
}

}  // namespace

class FaderBankTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpLayout_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("firstLeft");
        QTest::addColumn<int>("width");  // one fader: of the client area; more: outer
        QTest::newRow("no file: one fader at design size") << 1 << 200 << 1725;
        QTest::newRow("twenty faders") << 20 << 120 << 31335;
    }
    void startUpLayout() {
        QFETCH(int, count);
        QFETCH(int, firstLeft);
        QFETCH(int, width);
        PanelFixture panel;
        QList<FaderSetting> faders = Faders(count);
        for (int i = 0; i < count; i += 3) faders[i].link = 1;
        if (count > 1) panel.WriteIni(15, faders);
        MainWindow& window = panel.Open();
        const auto measured = [&] { return count == 1 ? window.width() : OuterWidth(window); };
        QCOMPARE(measured(), Twips(width));
        QVERIFY(panel.Show());
        QCOMPARE(measured(), Twips(width));  // the platform's frame must not widen it

        const FaderBank& bank = window.Bank();
        const QWidget& bar = window.LinkBar();
        QCOMPARE(bank.StripCount(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(bank.Strip(i).geometry(),
                     QRect(Twips(firstLeft + 1560 * i), Twips(120), Twips(1335), Twips(5655)));
            QCOMPARE(bank.Strip(i).chkStereo()->isChecked(), count > 1 && i % 3 == 0);
        }
        // The status bar adds its own height; the bank keeps the design height.
        QCOMPARE(bank.size(), QSize(window.width(), Twips(6045)));
        QCOMPARE(window.height(), window.menuBar()->height() + Twips(6045) + bar.height());
        QCOMPARE(bar.geometry(),
                 QRect(0, bank.geometry().bottom() + 1, window.width(), bar.height()));
    }

    void growingAndShrinking() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        FaderBank& bank = window.Bank();
        bank.Strip(0).lblChan()->setText(QStringLiteral("PGM L"));
        window.State().FaderCount = 4;
        bank.LoadFaders();
        QCOMPARE(window.State().LoadedFaders, int16_t(4));
        for (int i = 1; i < 4; ++i) QCOMPARE(bank.Strip(i).x(), Twips(120 + 1560 * i));
        QCOMPARE(OuterWidth(window), Twips(6375));
        QCOMPARE(bank.Strip(3).lblChan()->text(), QStringLiteral("PGM L"));  // strip 0's caption

        QList<int> destroyed;
        for (int i = 1; i < 4; ++i) {
            connect(&bank.Strip(i), &QObject::destroyed, this, [&destroyed, i] { destroyed << i; });
        }
        window.State().FaderCount = 1;
        bank.UnloadFaders();
        QCOMPARE(destroyed, QList<int>({3, 2, 1}));
        QCOMPARE(window.State().LoadedFaders, int16_t(1));
        QCOMPARE(OuterWidth(window), Twips(1695));
        QCOMPARE(bank.Strip(0).x(), Twips(240));
        QVERIFY(panel.log.entries.isEmpty());
    }

    void labelsByGainStage_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("stereoKept");
        QTest::newRow("input") << 1 << "MIC 5" << true;
        QTest::newRow("DSP output") << 15 << "PGM L" << true;
        QTest::newRow("analog output") << 3 << "PGM L" << true;
        QTest::newRow("device ID") << 20 << "Device ID 4" << false;
        QTest::newRow("other stage changes nothing") << 7 << "Ch. 1" << true;
    }
    void labelsByGainStage() {
        QFETCH(int, stage);
        QFETCH(QString, label);
        QFETCH(bool, stereoKept);
        PanelFixture panel;
        MainWindow& window = panel.Open();
        PanelState& state = window.State();
        state.SourceAlpha.assign(10, QString());
        state.SourceAlpha[4] = QStringLiteral("MIC 5");
        state.DestinationAlpha[4] = QStringLiteral("PGM L");
        state.SourceLinks[4] = 1;  // channel 4 linked, channel 6 not
        state.DestinationLinks[4] = -1;
        state.GainStage = static_cast<int16_t>(stage);
        state.Chan = {4};
        FaderStrip& strip = window.Bank().Strip(0);
        strip.chkStereo()->setChecked(true);

        window.LabelFaders();
        QCOMPARE(strip.lblChan()->text(), label);
        QCOMPARE(strip.chkStereo()->isVisibleTo(&strip), stereoKept);
        QCOMPARE(strip.chkStereo()->isChecked(), stereoKept);

        state.Chan = {6};
        window.LabelFaders();
        QCOMPARE(strip.chkStereo()->isChecked(), stage == 7);
        QVERIFY(panel.log.entries.isEmpty());
    }

    void missingNameStopsLabelling() {
        PanelFixture panel;
        panel.WriteIni(1, {{2, 0}, {6, 0}, {1, 0}});
        MainWindow& window = panel.Open();
        window.State().SourceAlpha = {QStringLiteral("MIC 1"), QStringLiteral("MIC 2")};
        window.LabelFaders();  // fader 2's channel 5 has no name yet
        QCOMPARE(panel.log.entries,
                 RecordingLog().entries << qMakePair(QStringLiteral("Error Labeling Faders"),
                                                     QStringLiteral("Display Error")));
        QCOMPARE(panel.Texts(&FaderStrip::lblChan), QStringList({"MIC 2", "Ch. 1", "Ch. 1"}));
    }

    void textsFitTheirControls() {
        FaderStrip strip;
        strip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&strip));
        const char* const longest[][2] = {{"lblGain", "Gain (-99.9db)"},
                                          {"lblChan", "MIC 12 L"},
                                          {"lblChan", "Device ID 255"},
                                          {"cmdZerodb", "0db"},
                                          {"chkStereo", "Stereo"}};
        for (const auto& [control, text] : longest) {
            QVERIFY2(Fits(strip.findChild<QWidget*>(control), text), text);
        }
    }
};

QTEST_MAIN(FaderBankTest)
#include "FaderBankTest.moc"
