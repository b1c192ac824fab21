// The type request handshake and the information request that follows it.
#include <QtTest>

#include "InfoRequest.h"
#include "LinkHarness.h"
#include "TypeRequest.h"

namespace {
const QByteArray StartUpRequest = Hex("f2001e020000000000000020ff");
}

class TypeRequestTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typeRequest_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("answered");
        QTest::newRow("4 bytes") << Hex("816464ff") << true;
        QTest::newRow("5 bytes") << Hex("81641074ff") << true;
        QTest::newRow("wrong checksum") << Hex("816465ff") << false;
        QTest::newRow("3 bytes") << Hex("8100ff") << false;
        QTest::newRow("6 bytes") << Hex("816400000064ff") << false;
        QTest::newRow("byte 1 not 64") << Hex("816363ff") << false;
        QTest::newRow("lone command") << Hex("81") << false;
    }
    void typeRequest() {
        QFETCH(QByteArray, request);
        QFETCH(bool, answered);
        LinkHarness link;
        link.state.LastInfoRequest = 5;
        ProcessTypeRequest(link.ctx, request);
        QVERIFY(link.log.entries.isEmpty());
        const QList<QByteArray> answer{Hex("810a010bff"), StartUpRequest};
        QCOMPARE(link.sender.sent, answered ? answer : QList<QByteArray>{});
        QCOMPARE(link.state.LastInfoRequest, answered ? 36608 : 5);
        if (answered) QVERIFY2(link.sender.at[1] - link.sender.at[0] >= 100, "100 ms between");
    }

    void infoRequest_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("start-up") << 36608 << StartUpRequest;
        QTest::newRow("source names") << 256 << Hex("f20002000000000000000002ff");
        QTest::newRow("dest. names") << 512 << Hex("f20004000000000000000004ff");
        QTest::newRow("everything") << -1 << Hex("f27f0000000000000000007fff");
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
