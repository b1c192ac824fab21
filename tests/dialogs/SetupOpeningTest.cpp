// Opening the setup dialog: the rows, texts and geometry it starts with.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "SetupFixture.h"

namespace {

QString CaptionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
    return qobject_cast<const QLineEdit*>(widget)->text();
}

QList<int> Channels(int count, int step) {
    QList<int> channels;
    for (int i = 0; i < count; ++i) channels << i * step;
    return channels;
}

}  // namespace

class SetupOpeningTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsDesignedControls_data();
    void showsDesignedControls();
    void showsOneRowPerFader_data();
    void showsOneRowPerFader();
    void gainStageWithoutOptionFillsNothing();
    void startsInFirstRowAndPressesNoButtonByDefault();
};

void SetupOpeningTest::showsDesignedControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    // One fader: everything below the row sits where one row puts it.
    QTest::newRow("frame") << "frType"
                           << "Gain Stage" << PixelRect(360, 240, 3615, 1215);
    QTest::newRow("1") << "optType(1)"
                       << "Input Trim" << PixelRect(240, 360, 1095, 195);
    QTest::newRow("3") << "optType(3)"
                       << "Anaolg Output" << PixelRect(1920, 360, 1455, 195);
    QTest::newRow("15") << "optType(15)"
                        << "DSP Output Level" << PixelRect(240, 840, 1815, 195);
    QTest::newRow("20") << "optType(20)"
                        << "Device ID" << PixelRect(1920, 840, 1500, 195);
    QTest::newRow("count label") << "lblCount"
                                 << "Count" << PixelRect(360, 1800, 1335, 255);
    QTest::newRow("count") << "txtCount"
                           << "1" << PixelRect(2400, 1800, 1815, 375);
    QTest::newRow("row label") << "lblChan(0)"
                               << "Channel 1" << PixelRect(360, 2300, 1815, 255);
    QTest::newRow("row") << "txtChan(0)"
                         << "6" << PixelRect(2400, 2300, 1815, 375);
    QTest::newRow("port label") << "lblIPPort"
                                << "IP Port" << PixelRect(360, 2800, 975, 255);
    QTest::newRow("port") << "txtIPPort"
                          << "4001" << PixelRect(2400, 2800, 1815, 375);
    QTest::newRow("addr label") << "lblAddress"
                                << "IP Address" << PixelRect(360, 3300, 1215, 255);
    QTest::newRow("addr") << "txtIPAddr"
                          << "10.1.2.3" << PixelRect(2400, 3300, 1815, 375);
    QTest::newRow("ok") << "cmdOk"
                        << "&Ok" << PixelRect(240, 3920, 1335, 495);
    QTest::newRow("cancel") << "cmdCancel"
                            << "&Cancel" << PixelRect(2400, 3920, 1335, 495);
}

void SetupOpeningTest::showsDesignedControls() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    SetupFixture f;
    f.state.IPPort = 4001;
    f.state.IPAddress = QStringLiteral("10.1.2.3");
    f.Open(GainStage::DspOutput, {5});
    QVERIFY(f.Show());
    const QWidget* widget = f.Find<QWidget>(name);
    QVERIFY(widget);
    QCOMPARE(CaptionOf(widget), caption);
    QCOMPARE(widget->geometry(), geometry);
    // The caption must be readable in full inside the designed size.
    if (auto* option = qobject_cast<const QRadioButton*>(widget)) {
        QStyleOptionButton style;
        style.initFrom(option);
        const int indicator = option->style()->subElementRect(QStyle::SE_RadioButtonContents,
                                                              &style, option).left();
        const QString text = QString(caption).remove(QLatin1Char('&'));
        QVERIFY2(indicator + option->fontMetrics().horizontalAdvance(text) <= option->width(),
                 qPrintable(text));
    }
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Setup"));
    QVERIFY(f.dialog->isModal());
    QCOMPARE(f.dialog->frameGeometry().height(), Twips(5240));
}

void SetupOpeningTest::showsOneRowPerFader_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("1 fader, stage 15")
        << 15 << QList<int>{0} << QStringList{"Channel 1"} << QStringList{"1"};
    QTest::newRow("1 fader, stage 1")
        << 1 << QList<int>{7} << QStringList{"Channel 1"} << QStringList{"8"};
    QTest::newRow("1 fader, stage 3")
        << 3 << QList<int>{7} << QStringList{"Channel 1"} << QStringList{"8"};
    QTest::newRow("3 faders, stage 15")
        << 15 << QList<int>{0, 4, 9} << QStringList{"Channel 1", "Channel 2", "Channel 3"}
        << QStringList{"1", "5", "10"};
    QTest::newRow("3 faders, stage 20")
        << 20 << QList<int>{0, 4, 9} << QStringList{"Channel 1", "Device ID2", "Device ID3"}
        << QStringList{"0", "4", "9"};
    QStringList channelCaptions{"Channel 1"}, deviceCaptions{"Channel 1"}, plusOne, asStored;
    for (int i = 0; i < 20; ++i) {
        if (i > 0) channelCaptions << QStringLiteral("Channel %1").arg(i + 1);
        if (i > 0) deviceCaptions << QStringLiteral("Device ID%1").arg(i + 1);
        plusOne << QString::number(i * 100 + 1);
        asStored << QString::number(i * 100);
    }
    QTest::newRow("20 faders, stage 15") << 15 << Channels(20, 100) << channelCaptions << plusOne;
    QTest::newRow("20 faders, stage 20") << 20 << Channels(20, 100) << deviceCaptions << asStored;
}

void SetupOpeningTest::showsOneRowPerFader() {
    QFETCH(int, stage);
    QFETCH(QList<int>, channels);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, texts);
    SetupFixture f;
    f.Open(int16_t(stage), channels);
    QVERIFY(f.Show());
    const int n = int(texts.size());

    QCOMPARE(f.RowCount(), n);
    for (int i = 0; i < n; ++i) {
        const auto* label = f.Find<QLabel>(QStringLiteral("lblChan(%1)").arg(i));
        QCOMPARE(label->text(), captions[i]);
        QCOMPARE(label->geometry(), PixelRect(360, 2300 + 500 * i, 1815, 255));
        QCOMPARE(f.Row(i)->text(), texts[i]);
        QCOMPARE(f.Row(i)->geometry(), PixelRect(2400, 2300 + 500 * i, 1815, 375));
        QVERIFY(f.Row(i)->isVisible());
    }
    QCOMPARE(f.Find("txtCount")->text(), QString::number(n));
    QVERIFY(f.Find<QRadioButton>(QStringLiteral("optType(%1)").arg(stage))->isChecked());
    QCOMPARE(f.Find<QLabel>("lblIPPort")->y(), Twips(2300 + 500 * n));
    QCOMPARE(f.Find("txtIPPort")->y(), Twips(2300 + 500 * n));
    QCOMPARE(f.Find<QLabel>("lblAddress")->y(), Twips(2800 + 500 * n));
    QCOMPARE(f.Find("txtIPAddr")->y(), Twips(2800 + 500 * n));
    QCOMPARE(f.Find<QPushButton>("cmdOk")->y(), Twips(3420 + 500 * n));
    QCOMPARE(f.Find<QPushButton>("cmdCancel")->y(), Twips(3420 + 500 * n));
    QCOMPARE(f.dialog->frameGeometry().height(), Twips(4740 + 500 * n));
    QVERIFY(f.log.entries.isEmpty());
}

void SetupOpeningTest::gainStageWithoutOptionFillsNothing() {
    SetupFixture f;
    f.Open(7, {0, 4, 9});
    QCOMPARE(f.RowCount(), 3);
    for (auto* option : f.dialog->findChildren<QRadioButton*>()) QVERIFY(!option->isChecked());
    for (const char* name : {"txtCount", "txtChan(0)", "txtIPPort", "txtIPAddr"}) {
        QVERIFY2(f.Find(QLatin1String(name))->text().isEmpty(), name);
    }
    QCOMPARE(f.Row(2)->text(), QStringLiteral("10"));
    QCOMPARE(f.Find("txtIPPort")->y(), Twips(3800));
    const QList<QPair<QString, QString>> expected{
        {"Error displaying current values", "Setup Error"}};
    QCOMPARE(f.log.entries, expected);
}

void SetupOpeningTest::startsInFirstRowAndPressesNoButtonByDefault() {
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 1});
    QVERIFY(f.Show());
    QCOMPARE(QApplication::focusWidget(), f.Row(0));
    for (const char* name : {"cmdOk", "cmdCancel", "txtIPPort", "txtIPAddr"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
    }
    for (auto* button : f.dialog->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

QTEST_MAIN(SetupOpeningTest)
#include "SetupOpeningTest.moc"
