// "&Ok" and "&Cancel": what is stored, when the link reconnects, and what is
// refused without changing anything.
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

#include "SetupFixture.h"

namespace {

// Everything the dialog may change, for before/after comparisons.
QString Settings(const PanelState& s) {
    QStringList chan, link;
    for (int16_t c : s.Chan) chan << QString::number(c);
    for (int16_t l : s.Link) link << QString::number(l);
    return QStringLiteral("count %1 stage %2 chan %3 link %4 at %5:%6")
        .arg(s.FaderCount)
        .arg(s.GainStage)
        .arg(chan.join(QLatin1Char(',')), link.join(QLatin1Char(',')), s.IPAddress)
        .arg(s.IPPort);
}

void Click(const SetupFixture& f, const QString& name) {
    QTest::mouseClick(f.Find<QAbstractButton>(name), Qt::LeftButton);
}

}  // namespace

class SetupOkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void okStoresEverythingThenSavesAndCloses();
    void storesChannelByGainStage_data();
    void storesChannelByGainStage();
    void refusedOkChangesNothing_data();
    void refusedOkChangesNothing();
    void reconnectsOnlyWhenAddressOrPortChanged_data();
    void reconnectsOnlyWhenAddressOrPortChanged();
    void noOptionSelectedStoresStage15();
    void accessKeyAppliesTypedCountFirst();
    void cancelChangesNothing();
    void enterAndEscapeDoNothing_data();
    void enterAndEscapeDoNothing();
};

void SetupOkTest::okStoresEverythingThenSavesAndCloses() {
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9});
    f.state.Link = {1, 0, 1};
    QVERIFY(f.Show());
    Click(f, QStringLiteral("optType(3)"));
    f.Retype(QStringLiteral("txtCount"), QStringLiteral("5"));
    QTest::keyClick(f.Find("txtCount"), Qt::Key_Return);
    f.Retype(QStringLiteral("txtChan(3)"), QStringLiteral("12"));
    f.Retype(QStringLiteral("txtIPPort"), QStringLiteral("4000"));
    Click(f, QStringLiteral("cmdOk"));
    QCOMPARE(Settings(f.state),
             QStringLiteral("count 5 stage 3 chan 0,4,9,11,0 link 1,0,1,0,0 at 127.0.0.1:4000"));
    const QStringList expected{"disconnect 127.0.0.1:1250", "connect 127.0.0.1:4000",
                               "startGainTimer", "writeSettings"};
    QCOMPARE(f.calls, expected);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(!f.dialog->isVisible());
    QVERIFY(f.log.entries.isEmpty());
}

void SetupOkTest::storesChannelByGainStage_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("15: 1") << 15 << "1" << 0;
    QTest::newRow("15: 4096") << 15 << "4096" << 4095;
    QTest::newRow("15: 4097") << 15 << "4097" << 0;
    QTest::newRow("15: 5000") << 15 << "5000" << 0;
    QTest::newRow("15: 0") << 15 << "0" << 0;
    QTest::newRow("15: empty") << 15 << "" << 0;
    QTest::newRow("15: beyond 16 bits") << 15 << "40000" << 0;
    QTest::newRow("1: 17") << 1 << "17" << 16;
    QTest::newRow("3: 5000") << 3 << "5000" << 0;
    QTest::newRow("20: 5000") << 20 << "5000" << 5000;
    QTest::newRow("20: 0") << 20 << "0" << 0;
    QTest::newRow("20: 32767") << 20 << "32767" << 32767;
}

void SetupOkTest::storesChannelByGainStage() {
    QFETCH(int, stage);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    SetupFixture f;
    f.Open(GainStage::AnalogOutput, {3});
    QVERIFY(f.Show());
    Click(f, QStringLiteral("optType(%1)").arg(stage));
    f.Retype(QStringLiteral("txtChan(0)"), typed);
    Click(f, QStringLiteral("cmdOk"));
    QCOMPARE(f.state.GainStage, int16_t(stage));
    QCOMPARE(f.state.Chan, std::vector<int16_t>{int16_t(stored)});
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
}

void SetupOkTest::refusedOkChangesNothing_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("logged");
    QTest::newRow("device ID beyond 16 bits") << "2"
                                              << "40000"
                                              << "1250" << true;
    QTest::newRow("port beyond 32 bits") << "2"
                                         << "5"
                                         << "4294967296" << true;
    QTest::newRow("empty count") << ""
                                 << "5"
                                 << "1250" << false;
    QTest::newRow("count 0") << "0"
                             << "5"
                             << "1250" << false;
}

void SetupOkTest::refusedOkChangesNothing() {
    QFETCH(QString, count);
    QFETCH(QString, channel);
    QFETCH(QString, port);
    QFETCH(bool, logged);
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9});
    f.state.Link = {1, 1, 0};
    const QString before = Settings(f.state);
    QVERIFY(f.Show());
    Click(f, QStringLiteral("optType(20)"));
    f.Retype(QStringLiteral("txtIPPort"), port);
    f.Retype(QStringLiteral("txtChan(1)"), channel);
    f.Retype(QStringLiteral("txtCount"), count);
    Click(f, QStringLiteral("cmdOk"));
    QCOMPARE(Settings(f.state), before);
    QVERIFY(f.calls.isEmpty());
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.log.entries.size(), logged ? 1 : 0);
    if (logged) {
        QCOMPARE(f.log.entries[0], qMakePair(QStringLiteral("Error recording changes"),
                                             QStringLiteral("Setup Error")));
    }
}

void SetupOkTest::reconnectsOnlyWhenAddressOrPortChanged_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("calls");
    const QStringList saved{"startGainTimer", "writeSettings"};
    QTest::newRow("same") << "10.0.0.5"
                          << "1250" << saved;
    QTest::newRow("same number, other text") << "10.0.0.5"
                                             << "01250" << saved;
    QTest::newRow("port") << "10.0.0.5"
                          << "1251"
                          << QStringList{"disconnect 10.0.0.5:1250", "connect 10.0.0.5:1251"} +
                                 saved;
    QTest::newRow("address") << "10.0.0.50"
                             << "1250"
                             << QStringList{"disconnect 10.0.0.5:1250", "connect 10.0.0.50:1250"} +
                                    saved;
    QTest::newRow("both") << "10.0.0.6"
                          << "0"
                          << QStringList{"disconnect 10.0.0.5:1250", "connect 10.0.0.6:0"} + saved;
}

void SetupOkTest::reconnectsOnlyWhenAddressOrPortChanged() {
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QStringList, calls);
    SetupFixture f;
    f.state.IPAddress = QStringLiteral("10.0.0.5");
    f.Open(GainStage::DspOutput, {0});
    QVERIFY(f.Show());
    f.Retype(QStringLiteral("txtIPAddr"), address);
    f.Retype(QStringLiteral("txtIPPort"), port);
    Click(f, QStringLiteral("cmdOk"));
    QCOMPARE(f.calls, calls);
}

void SetupOkTest::noOptionSelectedStoresStage15() {
    SetupFixture f;
    f.Open(0, {7});
    QVERIFY(f.Show());
    f.Retype(QStringLiteral("txtCount"), QStringLiteral("2"));
    QTest::keyClick(f.Find("txtCount"), Qt::Key_Return);
    f.Retype(QStringLiteral("txtChan(0)"), QStringLiteral("4"));
    f.Retype(QStringLiteral("txtIPPort"), QStringLiteral("1250"));
    f.Retype(QStringLiteral("txtIPAddr"), QStringLiteral("127.0.0.1"));
    Click(f, QStringLiteral("cmdOk"));
    QCOMPARE(Settings(f.state),
             QStringLiteral("count 2 stage 15 chan 3,0 link 0,0 at 127.0.0.1:1250"));
    QCOMPARE(f.calls, (QStringList{"startGainTimer", "writeSettings"}));
}

void SetupOkTest::accessKeyAppliesTypedCountFirst() {
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9});
    QVERIFY(f.Show());
    f.Retype(QStringLiteral("txtCount"), QStringLiteral("30"));
    QTest::keyClick(f.Find("txtCount"), Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.state.FaderCount, int16_t(20));
    QCOMPARE(f.state.Chan.size(), size_t(20));
    QCOMPARE(f.state.Link.size(), size_t(20));
    QCOMPARE(f.state.Chan[2], int16_t(9));
}

void SetupOkTest::cancelChangesNothing() {
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0, 4, 9});
    f.state.Link = {0, 1, 1};
    const QString before = Settings(f.state);
    QVERIFY(f.Show());
    Click(f, QStringLiteral("optType(1)"));
    f.Retype(QStringLiteral("txtCount"), QStringLiteral("6"));
    QTest::keyClick(f.Find("txtCount"), Qt::Key_Return);
    f.Retype(QStringLiteral("txtChan(4)"), QStringLiteral("44"));
    f.Retype(QStringLiteral("txtIPPort"), QStringLiteral("99"));
    f.Retype(QStringLiteral("txtIPAddr"), QStringLiteral("1.2.3.4"));
    Click(f, QStringLiteral("cmdCancel"));
    QCOMPARE(Settings(f.state), before);
    QVERIFY(f.calls.isEmpty());
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QVERIFY(!f.dialog->isVisible());
}

void SetupOkTest::enterAndEscapeDoNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    for (const char* name :
         {"txtChan(0)", "txtCount", "txtIPPort", "txtIPAddr", "cmdOk", "cmdCancel"}) {
        QTest::addRow("Enter in %s", name) << name << int(Qt::Key_Return);
        QTest::addRow("keypad Enter in %s", name) << name << int(Qt::Key_Enter);
        QTest::addRow("Escape in %s", name) << name << int(Qt::Key_Escape);
    }
}

void SetupOkTest::enterAndEscapeDoNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    SetupFixture f;
    f.Open(GainStage::DspOutput, {0});
    QVERIFY(f.Show());
    QWidget* target = f.Find<QWidget>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QTest::qWait(50);
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), 0);
    QVERIFY(f.calls.isEmpty());
}

QTEST_MAIN(SetupOkTest)
#include "SetupOkTest.moc"
