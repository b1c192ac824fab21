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
    // Every valid row is a change at stage 15 from channel 5; a report is
    // written in the layout of a change without an extra pair.
    void gainChangeIsReadAndReportWritten_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<Codes>("codes");  // none: not a gain change
        QTest::addColumn<int>("extra");    // -1: none
        const auto row = [](const char* name, const char* hex, Codes codes = {}, int extra = -1) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << codes << extra;
        };
        row("one channel at 0 dB", "e3020f0100050000081fff", {1024});
        row("stereo pair", "e3020f020005000008000828ff", {1024, 1024});
        row("one channel with an extra pair", "e3020f010005000008030123ff", {1024}, 131);
        row("bad checksum", "e3020f0100050000081eff");
        row("count 0", "e3020f0000050016ff");
        row("a byte too many", "e3020f0100050000080120ff");
        row("extra pair after two channels", "e3020f0200050000080008000028ff");
        row("shorter than it declares", "e3020f03000500000821ff");
        row("mix stage", "e3020a010005000000000012ff");
        row("other command", "e0020f0100050000081fff");
        row("cut to the command byte", "e3");
    }
    void gainChangeIsReadAndReportWritten() {
        QFETCH(QByteArray, message);
        QFETCH(Codes, codes);
        QFETCH(int, extra);
        const std::optional<GainChange> change = DecodeGainChange(message);
        QCOMPARE(change.has_value(), !codes.empty());
        if (!change) return;
        QCOMPARE(int{change->stage}, 15);
        QCOMPARE(change->firstChannel, 5);
        QCOMPARE(change->codes, codes);
        QCOMPARE(change->extra.value_or(-1), extra);
        if (extra == -1) QCOMPARE(EncodeGainReport(15, 5, codes), message);
    }

    void infoRequestIsRead_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("code");  // -2: not an information request
        const auto row = [](const char* name, const char* hex, int code) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << code;
        };
        row("start-up tables", "f2001e020000000000000020ff", 36608);
        row("source names again", "f20002000000000000000002ff", 256);
        row("destination names again", "f20004000000000000000004ff", 512);
        row("all bits arrives without its sign", "f27f0000000000000000007fff", 127);
        row("bad checksum", "f2001e020000000000000021ff", -2);
        row("short", "f2001e0200000000000020ff", -2);
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
