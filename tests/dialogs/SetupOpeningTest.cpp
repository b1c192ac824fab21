// Opening the setup dialog: the rows, texts and geometry it starts with.
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>

#include "SetupFixture.h"

namespace {

// The text of a label, button or box, or the title of a frame.
QString CaptionOf(const QWidget* widget) {
    const QVariant text = widget->property("text");
    return text.isValid() ? text.toString() : widget->property("title").toString();
}

// Readable in full beside its indicator, inside the designed width.
bool CaptionFits(const QRadioButton* option) {
    QStyleOptionButton style;
    style.initFrom(option);
    const int textLeft =
        option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option).left();
    const QString text = option->text().remove(QLatin1Char('&'));
    return textLeft + option->fontMetrics().horizontalAdvance(text) <= option->width();
}

// One fader: everything below the row sits where one row puts it.
const struct {
    const char* name;
    const char* caption;
    int left, top, width, height;
} kOneFaderDesign[] = {
    {"frType", "Gain Stage", 360, 240, 3615, 1215},
    {"optType(1)", "Input Trim", 240, 360, 1095, 195},
    {"optType(3)", "Anaolg Output", 1920, 360, 1455, 195},
    {"optType(15)", "DSP Output Level", 240, 840, 1815, 195},
    {"optType(20)", "Device ID", 1920, 840, 1500, 195},
    {"lblCount", "Count", 360, 1800, 1335, 255},
    {"txtCount", "1", 2400, 1800, 1815, 375},
    {"lblChan(0)", "Channel 1", 360, 2300, 1815, 255},
    {"txtChan(0)", "6", 2400, 2300, 1815, 375},
    {"lblIPPort", "IP Port", 360, 2800, 975, 255},
    {"txtIPPort", "4001", 2400, 2800, 1815, 375},
    {"lblAddress", "IP Address", 360, 3300, 1215, 255},
    {"txtIPAddr", "10.1.2.3", 2400, 3300, 1815, 375},
    {"cmdOk", "&Ok", 240, 3920, 1335, 495},
    {"cmdCancel", "&Cancel", 2400, 3920, 1335, 495},
};

}  // namespace

class SetupOpeningTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsDesignedControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        for (const auto& c : kOneFaderDesign) {
            QTest::newRow(c.name) << c.name << c.caption
                                  << PixelRect(c.left, c.top, c.width, c.height);
        }
    }
    void showsDesignedControls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        SetupFixture f;
        f.state.IPPort = 4001;
        f.state.IPAddress = QStringLiteral("10.1.2.3");
        QVERIFY(f.Open(GainStage::DspOutput, {5}));
        const QWidget* widget = f.Find<QWidget>(name);
        QVERIFY(widget);
        QCOMPARE(CaptionOf(widget), caption);
        QCOMPARE(widget->geometry(), geometry);
        if (auto* option = qobject_cast<const QRadioButton*>(widget)) QVERIFY(CaptionFits(option));
    }

    void showsOneRowPerFader_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("1 fader, stage 15") << 15 << QList<int>{0} << QStringList{"1"};
        QTest::newRow("1 fader, stage 1") << 1 << QList<int>{7} << QStringList{"8"};
        QTest::newRow("3 faders, stage 15")
            << 15 << QList<int>{0, 4, 9} << QStringList{"1", "5", "10"};
        QTest::newRow("3 faders, stage 20")
            << 20 << QList<int>{0, 4, 9} << QStringList{"0", "4", "9"};
        QList<int> twenty;
        QStringList plusOne, asStored;
        for (int i = 0; i < 20; ++i) {
            twenty << i * 100;
            plusOne << QString::number(i * 100 + 1);
            asStored << QString::number(i * 100);
        }
        QTest::newRow("20 faders, stage 15") << 15 << twenty << plusOne;
        QTest::newRow("20 faders, stage 20") << 20 << twenty << asStored;
    }
    void showsOneRowPerFader() {
        QFETCH(int, stage);
        QFETCH(QList<int>, channels);
        QFETCH(QStringList, texts);
        SetupFixture f;
        QVERIFY(f.Open(int16_t(stage), channels));
        const int n = int(texts.size());
        QCOMPARE(f.RowCount(), n);
        for (int i = 0; i < n; ++i) {
            // In Device ID mode every row but the first is captioned by its device.
            const QString caption = stage == 20 && i > 0 ? "Device ID%1" : "Channel %1";
            const auto* label = f.Find<QLabel>(QStringLiteral("lblChan(%1)").arg(i));
            QCOMPARE(label->text(), caption.arg(i + 1));
            QCOMPARE(label->geometry(), PixelRect(360, 2300 + 500 * i, 1815, 255));
            QCOMPARE(f.Row(i)->text(), texts[i]);
            QCOMPARE(f.Row(i)->geometry(), PixelRect(2400, 2300 + 500 * i, 1815, 375));
            QVERIFY(f.Row(i)->isVisible());
        }
        QCOMPARE(f.Find("txtCount")->text(), QString::number(n));
        QVERIFY(f.Find<QRadioButton>(QStringLiteral("optType(%1)").arg(stage))->isChecked());
        QCOMPARE(f.BelowRows(), SetupFixture::BelowRowsDesigned(n));
        QVERIFY(f.log.entries.isEmpty());
    }

    void gainStageWithoutOptionFillsNothing() {
        SetupFixture f;
        QVERIFY(f.Open(7, {0, 4, 9}, false));
        QCOMPARE(f.RowCount(), 3);
        for (auto* option : f.dialog->findChildren<QRadioButton*>()) QVERIFY(!option->isChecked());
        for (const char* name : {"txtCount", "txtChan(0)", "txtIPPort", "txtIPAddr"}) {
            QVERIFY2(f.Find(QLatin1String(name))->text().isEmpty(), name);
        }
        QCOMPARE(f.Row(2)->text(), QStringLiteral("10"));
        QCOMPARE(f.Find("txtIPPort")->y(), Twips(3800));
        QCOMPARE(f.log.entries, LogEntries({{"Error displaying current values", "Setup Error"}}));
    }

    void modalStartingInTheFirstRow() {
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 1}));
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Setup"));
        QVERIFY(f.dialog->isModal());
        QCOMPARE(QApplication::focusWidget(), f.Row(0));
        for (const char* name : {"cmdOk", "cmdCancel", "txtIPPort", "txtIPAddr"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
        }
    }
};

QTEST_MAIN(SetupOpeningTest)
#include "SetupOpeningTest.moc"
