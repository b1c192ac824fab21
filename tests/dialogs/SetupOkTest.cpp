// "&Ok" and "&Cancel": what is stored, when the link reconnects, and what is
// refused without changing anything.
#include "SetupFixture.h"

class SetupOkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okStoresEverythingThenSavesAndCloses() {
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.state.Link = {1, 0, 1};
        f.Click("optType(3)");
        f.ApplyCount("5");
        f.Retype("txtChan(3)", "12");
        f.Retype("txtIPPort", "4000");
        f.Click("cmdOk");
        QCOMPARE(
            f.Settings(),
            QStringLiteral("count 5 stage 3 chan 0,4,9,11,0 link 1,0,1,0,0 at 127.0.0.1:4000"));
        QCOMPARE(f.calls, QStringList({"disconnect 127.0.0.1:1250", "connect 127.0.0.1:4000",
                                       "startGainTimer", "writeSettings"}));
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        QVERIFY(!f.dialog->isVisible());
        QVERIFY(f.log.entries.isEmpty());
    }

    void storesChannelByGainStage_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("15: 1") << 15 << "1" << 0;
        QTest::newRow("15: 4096") << 15 << "4096" << 4095;
        QTest::newRow("15: 4097") << 15 << "4097" << 0;
        QTest::newRow("15: 0") << 15 << "0" << 0;
        QTest::newRow("15: empty") << 15 << "" << 0;
        QTest::newRow("15: beyond 16 bits") << 15 << "40000" << 0;
        QTest::newRow("1: 17") << 1 << "17" << 16;
        QTest::newRow("3: 5000") << 3 << "5000" << 0;
        QTest::newRow("20: 5000") << 20 << "5000" << 5000;
        QTest::newRow("20: 0") << 20 << "0" << 0;
        QTest::newRow("20: 32767") << 20 << "32767" << 32767;
    }
    void storesChannelByGainStage() {
        QFETCH(int, stage);
        QFETCH(QString, typed);
        QFETCH(int, stored);
        SetupFixture f;
        QVERIFY(f.Open(GainStage::AnalogOutput, {3}));
        f.Click(QStringLiteral("optType(%1)").arg(stage));
        f.Retype("txtChan(0)", typed);
        f.Click("cmdOk");
        QCOMPARE(f.state.GainStage, int16_t(stage));
        QCOMPARE(f.state.Chan, std::vector<int16_t>{int16_t(stored)});
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    }

    // A refused "&Ok" leaves the dialog open; "&Cancel" closes it. Neither
    // changes a setting, however much was typed.
    void nothingChanges_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("logged");
        const QString ok = "cmdOk";
        QTest::newRow("device ID beyond 16 bits")
            << ok << "2" << QString("40000") << "1250" << true;
        QTest::newRow("port beyond 32 bits") << ok << "2" << QString("5") << "4294967296" << true;
        QTest::newRow("empty count") << ok << "" << QString("5") << "1250" << false;
        QTest::newRow("count 0") << ok << "0" << QString("5") << "1250" << false;
        QTest::newRow("cancel") << QString("cmdCancel") << "6" << QString("44") << "99" << false;
    }
    void nothingChanges() {
        QFETCH(QString, button);
        QFETCH(QString, count);
        QFETCH(QString, channel);
        QFETCH(QString, port);
        QFETCH(bool, logged);
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.state.Link = {1, 1, 0};
        const QString before = f.Settings();
        f.Click("optType(20)");
        f.Retype("txtIPAddr", "1.2.3.4");
        f.Retype("txtIPPort", port);
        f.Retype("txtChan(1)", channel);
        f.Retype("txtCount", count);
        f.Click(button);
        QCOMPARE(f.Settings(), before);
        QVERIFY(f.calls.isEmpty());
        QCOMPARE(f.dialog->isVisible(), button == "cmdOk");
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        const LogEntries refused{{"Error recording changes", "Setup Error"}};
        QCOMPARE(f.log.entries, logged ? refused : LogEntries());
    }

    void reconnectsOnlyWhenAddressOrPortChanged_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QStringList>("calls");
        const QStringList saved{"startGainTimer", "writeSettings"};
        const QString old = "disconnect 10.0.0.5:1250";
        QTest::newRow("same") << "10.0.0.5" << QString("1250") << saved;
        QTest::newRow("same number, other text") << "10.0.0.5" << QString("01250") << saved;
        QTest::newRow("port") << "10.0.0.5" << QString("1251")
                              << QStringList{old, "connect 10.0.0.5:1251"} + saved;
        QTest::newRow("address") << "10.0.0.50" << QString("1250")
                                 << QStringList{old, "connect 10.0.0.50:1250"} + saved;
        QTest::newRow("both") << "10.0.0.6" << QString("0")
                              << QStringList{old, "connect 10.0.0.6:0"} + saved;
    }
    void reconnectsOnlyWhenAddressOrPortChanged() {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QStringList, calls);
        SetupFixture f;
        f.state.IPAddress = QStringLiteral("10.0.0.5");
        QVERIFY(f.Open(GainStage::DspOutput, {0}));
        f.Retype("txtIPAddr", address);
        f.Retype("txtIPPort", port);
        f.Click("cmdOk");
        QCOMPARE(f.calls, calls);
    }

    void noOptionSelectedStoresStage15() {
        SetupFixture f;
        QVERIFY(f.Open(0, {7}));
        f.ApplyCount("2");
        f.Retype("txtChan(0)", "4");
        f.Retype("txtIPPort", "1250");
        f.Retype("txtIPAddr", "127.0.0.1");
        f.Click("cmdOk");
        QCOMPARE(f.Settings(),
                 QStringLiteral("count 2 stage 15 chan 3,0 link 0,0 at 127.0.0.1:1250"));
        QCOMPARE(f.calls, QStringList({"startGainTimer", "writeSettings"}));
    }

    // Alt+O leaves the focus in the count box: the typed count must still
    // apply, limited to 20 faders.
    void accessKeyAppliesTypedCountFirst() {
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0, 4, 9}));
        f.Retype("txtCount", "30");
        QTest::keyClick(f.Find("txtCount"), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(f.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(f.state.FaderCount, int16_t(20));
        QCOMPARE(f.state.Chan.size(), size_t(20));
        QCOMPARE(f.state.Link.size(), size_t(20));
        QCOMPARE(f.state.Chan[2], int16_t(9));
    }

    void enterAndEscapeDoNothing_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const char* name : {"txtChan(0)", "txtCount", "cmdOk", "cmdCancel"}) {
            QTest::addRow("Enter in %s", name) << name << int(Qt::Key_Return);
            QTest::addRow("keypad Enter in %s", name) << name << int(Qt::Key_Enter);
            QTest::addRow("Escape in %s", name) << name << int(Qt::Key_Escape);
        }
    }
    void enterAndEscapeDoNothing() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        SetupFixture f;
        QVERIFY(f.Open(GainStage::DspOutput, {0}));
        QWidget* target = f.Find<QWidget>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QTest::qWait(50);
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), 0);
        QVERIFY(f.calls.isEmpty());
    }
};

QTEST_MAIN(SetupOkTest)
#include "SetupOkTest.moc"
