// The start-up exchange over a real connection: the switcher asks the panel's
// type, the panel asks for its tables, and the tables that come back label the
// faders and show or hide their Stereo boxes.
#include "FaderBank.h"
#include "FaderStrip.h"
#include "LoopbackSwitcher.h"

#include <QCheckBox>
#include <QLabel>

namespace {
const char* TypeRequest = "816464FF";
const QByteArray TypeReply = QByteArray::fromHex("810A010BFF");
const QByteArray StartUpInfoRequest = QByteArray::fromHex("F2001E0200000000000000" "20FF");
// Destinations "PGML", "PGMR", "MIC1"; the first two a stereo pair.
const char* DestinationNames = "FC14040300000050474D4C000050474D5201004D49433102000EFF";
const char* DestinationLinks = "FA140300000001010019FF";
// Sources "SRC1", "SRC2", not linked.
const char* SourceNames = "FC0A040200000053524331000053524332010044FF";
const char* SourceLinks = "FA0A0200000000000CFF";
}  // namespace

class TablesEndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablesLabelTheFaders_data();
    void tablesLabelTheFaders();
};

void TablesEndToEndTest::tablesLabelTheFaders_data() {
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<int>("unanswered");
    QTest::newRow("every table") << QStringList{SourceNames, DestinationNames, SourceLinks,
                                                DestinationLinks}
                                 << 0x8000;
    QTest::newRow("destinations only")
        << QStringList{DestinationNames, DestinationLinks} << (0x8000 | 0x100 | 0x400);
}

void TablesEndToEndTest::tablesLabelTheFaders() {
    QFETCH(QStringList, tables);
    QFETCH(int, unanswered);
    LoopbackSwitcher switcher;
    LivePanel panel;
    panel.WriteIni(Ini(switcher.Port(), 15, {1, 2, 3}));
    MainWindow& window = panel.Open();
    QTRY_VERIFY_WITH_TIMEOUT(switcher.PeerOpen(), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(panel.Menu(QStringLiteral("&Disconnect")) != nullptr, true, Patience);

    switcher.Send(TypeRequest);
    QTRY_COMPARE_WITH_TIMEOUT(switcher.received, TypeReply + StartUpInfoRequest, Patience);
    QCOMPARE(window.State().LastInfoRequest, 36608);

    for (const QString& table : tables) switcher.Send(table.toLatin1().constData());
    FaderBank& bank = window.Bank();
    QTRY_COMPARE_WITH_TIMEOUT(window.State().LastInfoRequest, unanswered, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(bank.Strip(2).lblChan()->text(), QStringLiteral("MIC1"), Patience);
    QCOMPARE(bank.Strip(0).lblChan()->text(), QStringLiteral("PGML"));
    QCOMPARE(bank.Strip(1).lblChan()->text(), QStringLiteral("PGMR"));
    QVERIFY(bank.Strip(0).chkStereo()->isVisible());
    QVERIFY(bank.Strip(1).chkStereo()->isVisible());
    QVERIFY(!bank.Strip(2).chkStereo()->isVisible());
    QCOMPARE(window.State().DestinationCount, int16_t(3));
    QCOMPARE(window.State().SourceCount, int16_t(tables.size() == 4 ? 2 : 0));
    QVERIFY2(panel.log.entries.isEmpty(), qPrintable(panel.log.entries.value(0).first));
}

QTEST_MAIN(TablesEndToEndTest)
#include "TablesEndToEndTest.moc"
