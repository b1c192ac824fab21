// The switcher's side of the codecs: reading what a panel sends, and the
// messages only a switcher sends, against the protocol's own example bytes.
#include <QtTest>

#include "GainMessages.h"
#include "InfoRequest.h"
#include "TypeRequest.h"

using Codes = std::vector<int16_t>;
Q_DECLARE_METATYPE(Codes)

class SwitcherSideCodecsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gainChangeIsRead_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("first");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<int>("extra");  // -1: none
        const auto row = [](const char* name, const char* hex, int stage, int first, Codes codes,
                            int extra) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << stage << first << codes << extra;
        };
        row("one channel at 0 dB", "e3020f0100050000081fff", 15, 5, {1024}, -1);
        row("stereo pair", "e3020f020005000008000828ff", 15, 5, {1024, 1024}, -1);
        row("one channel with an extra pair", "e3020f010005000008030123ff", 15, 5, {1024}, 131);
    }
    void gainChangeIsRead() {
        QFETCH(QByteArray, message);
        QFETCH(int, stage);
        QFETCH(int, first);
        QFETCH(Codes, codes);
        QFETCH(int, extra);
        const std::optional<GainChange> change = DecodeGainChange(message);
        QVERIFY(change);
        QCOMPARE(int{change->stage}, stage);
        QCOMPARE(change->firstChannel, first);
        QCOMPARE(change->codes, codes);
        QCOMPARE(change->extra.value_or(-1), extra);
    }

    void notAGainChange_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("bad checksum") << QByteArray::fromHex("e3020f0100050000081eff");
        QTest::newRow("count 0") << QByteArray::fromHex("e3020f0000050016ff");
        QTest::newRow("a byte too many") << QByteArray::fromHex(
            "e3020f010005000008"
            "0120ff");
        QTest::newRow("extra pair after two channels") << QByteArray::fromHex(
            "e3020f020005000008000800"
            "0028ff");
        QTest::newRow("shorter than it declares") << QByteArray::fromHex(
            "e3020f030005000008"
            "21ff");
        QTest::newRow("mix stage") << QByteArray::fromHex(
            "e3020a0100050000000000"
            "12ff");
        QTest::newRow("other command") << QByteArray::fromHex("e0020f0100050000081fff");
        QTest::newRow("cut to the command byte") << QByteArray::fromHex("e3");
    }
    void notAGainChange() {
        QFETCH(QByteArray, message);
        QVERIFY(!DecodeGainChange(message));
    }

    // A report carries a code per channel in the layout the panel reads.
    void gainReportIsWritten() {
        QCOMPARE(EncodeGainReport(15, 5, {1024, 1024}),
                 QByteArray::fromHex("e3020f020005000008000828ff"));
        QCOMPARE(EncodeGainReport(15, 5, {1024}), QByteArray::fromHex("e3020f0100050000081fff"));
    }

    void infoRequestIsRead_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("code");  // -2: not an information request
        QTest::newRow("start-up tables")
            << QByteArray::fromHex("f2001e020000000000000020ff") << 36608;
        QTest::newRow("source names again") << QByteArray::fromHex(
                                                   "f2000200000000000000"
                                                   "0002ff")
                                            << 256;
        QTest::newRow("destination names again") << QByteArray::fromHex(
                                                        "f2000400000000000000"
                                                        "0004ff")
                                                 << 512;
        QTest::newRow("all bits arrives without its sign") << QByteArray::fromHex(
                                                                  "f27f"
                                                                  "000000000000000000"
                                                                  "7fff")
                                                           << 127;
        QTest::newRow("bad checksum") << QByteArray::fromHex("f2001e020000000000000021ff") << -2;
        QTest::newRow("short") << QByteArray::fromHex(
                                      "f2001e02000000000000"
                                      "20ff")
                               << -2;
    }
    void infoRequestIsRead() {
        QFETCH(QByteArray, message);
        QFETCH(int, code);
        QCOMPARE(DecodeInfoRequest(message).value_or(-2), code);
    }

    void typeExchange() {
        QCOMPARE(EncodeTypeRequest(), QByteArray::fromHex("816464ff"));
        QCOMPARE(DecodeTypeReply(QByteArray::fromHex("810a010bff")).value_or(""),
                 QByteArray::fromHex("0a01"));
        QVERIFY(!DecodeTypeReply(QByteArray::fromHex("810a010cff")));
        QVERIFY(!DecodeTypeReply(QByteArray::fromHex("f20a010bff")));
    }
};

QTEST_GUILESS_MAIN(SwitcherSideCodecsTest)
#include "SwitcherSideCodecsTest.moc"
