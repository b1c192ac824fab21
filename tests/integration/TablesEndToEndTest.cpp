// The start-up exchange over a real connection: the switcher asks the panel's
// type, the panel asks for its tables, and the tables that come back label the
// faders and show or hide their Stereo boxes.
#include <QCheckBox>

#include "LoopbackSwitcher.h"

namespace {
const char* TypeRequest = "816464FF";
const QByteArray TypeReply = QByteArray::fromHex("810A010BFF");
const QByteArray StartUpInfoRequest = QByteArray::fromHex("F2001E020000000000000020FF");
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
    void tablesLabelTheFaders_data() {
        QTest::addColumn<QStringList>("tables");
        QTest::addColumn<int>("unanswered");
        QTest::newRow("every table")
            << QStringList{SourceNames, DestinationNames, SourceLinks, DestinationLinks} << 0x8000;
        QTest::newRow("destinations only")
            << QStringList{DestinationNames, DestinationLinks} << (0x8000 | 0x100 | 0x400);
    }
    void tablesLabelTheFaders() {
        QFETCH(QStringList, tables);
        QFETCH(int, unanswered);
        LoopbackSwitcher switcher;
        LivePanel panel(switcher.Port(), 15, 3);
        QTRY_VERIFY_WITH_TIMEOUT(switcher.PeerOpen() && panel.Menu("&Disconnect"), Patience);

        switcher.Send(TypeRequest);
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received, TypeReply + StartUpInfoRequest, Patience);
        QCOMPARE(panel.State().LastInfoRequest, 36608);

        for (const QString& table : tables) switcher.Send(table.toLatin1().constData());
        QTRY_COMPARE_WITH_TIMEOUT(panel.State().LastInfoRequest, unanswered, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(panel.Names(), QStringList({"PGML", "PGMR", "MIC1"}), Patience);
        QVERIFY(panel.Strip(0).chkStereo()->isVisible());
        QVERIFY(panel.Strip(1).chkStereo()->isVisible());
        QVERIFY(!panel.Strip(2).chkStereo()->isVisible());
        QCOMPARE(panel.State().DestinationCount, int16_t(3));
        QCOMPARE(panel.State().SourceCount, int16_t(tables.size() == 4 ? 2 : 0));
        QVERIFY2(panel.log.entries.isEmpty(), panel.LogText().constData());
    }
};

QTEST_MAIN(TablesEndToEndTest)
#include "TablesEndToEndTest.moc"
