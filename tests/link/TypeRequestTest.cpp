// The type request handshake and the information request that follows it.
#include <QtTest>

#include "InfoRequest.h"
#include "LinkHarness.h"
#include "TypeRequest.h"

namespace {
const QByteArray StartUpRequest = QByteArray::fromHex("f2001e020000000000000020ff");
}

class TypeRequestTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typeRequest_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("answered");
        QTest::newRow("4 bytes") << QByteArray::fromHex("816464ff") << true;
        QTest::newRow("5 bytes") << QByteArray::fromHex("81641074ff") << true;
        QTest::newRow("wrong checksum") << QByteArray::fromHex("816465ff") << false;
        QTest::newRow("3 bytes") << QByteArray::fromHex("8100ff") << false;
        QTest::newRow("6 bytes") << QByteArray::fromHex("816400000064ff") << false;
        QTest::newRow("byte 1 not 64") << QByteArray::fromHex("816363ff") << false;
        QTest::newRow("lone command") << QByteArray::fromHex("81") << false;
    }
    void typeRequest() {
        QFETCH(QByteArray, request);
        QFETCH(bool, answered);
        LinkHarness link;
        link.state.LastInfoRequest = 5;
        ProcessTypeRequest(link.ctx, request);
        QVERIFY(link.log.entries.isEmpty());
        if (!answered) {
            QVERIFY(link.sender.sent.isEmpty());
            QCOMPARE(link.state.LastInfoRequest, 5);
            return;
        }
        QCOMPARE(link.sender.sent,
                 (QList<QByteArray>{QByteArray::fromHex("810a010bff"), StartUpRequest}));
        QVERIFY2(link.sender.at[1] - link.sender.at[0] >= 100, "100 ms between reply and request");
        QCOMPARE(link.state.LastInfoRequest, 36608);
    }

    void infoRequest_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("start-up") << 36608 << StartUpRequest;
        QTest::newRow("source names") << 256 << QByteArray::fromHex("f20002000000000000000002ff");
        QTest::newRow("dest. names") << 512 << QByteArray::fromHex("f20004000000000000000004ff");
        QTest::newRow("everything") << -1 << QByteArray::fromHex("f27f0000000000000000007fff");
    }
    void infoRequest() {
        QFETCH(int, code);
        QFETCH(QByteArray, bytes);
        LinkHarness link;
        SendInfoRequest(link.ctx, code);
        QCOMPARE(link.sender.sent, QList<QByteArray>{bytes});
        QCOMPARE(link.state.LastInfoRequest, code);
    }
};

QTEST_GUILESS_MAIN(TypeRequestTest)
#include "TypeRequestTest.moc"
