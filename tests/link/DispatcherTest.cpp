// The receive path from the socket to the decoders: skipping, cutting short,
// the one-byte messages, one message per call, the decode timer, the bound.
#include <QtTest>

#include "Dispatcher.h"
#include "FakeSocket.h"
#include "LinkHarness.h"
#include "ReceivePath.h"

namespace {
// Every message that reaches a decoder is kept instead of decoded.
struct Receiver : LinkHarness {
    FakeSocket socket;
    QList<QByteArray> decoded;
    DecoderTable decoders;
    ReceivePath path{socket, log,
                     [this](ReceiveBuffer& b) { ProcessSwitcherBuffer(b, ctx, decoders); }};

    Receiver() {
        for (const auto& entry : SwitcherDecoders()) {
            decoders[entry.first] = [this](LinkContext&, const QByteArray& m) {
                decoded.append(m);
            };
        }
    }
};
}  // namespace

class DispatcherTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each row is fed in pieces of every size with a decode tick after each
    // piece: how the bytes were split must not matter.
    void inPiecesOfEverySize_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("decoded");
        QTest::addColumn<QList<QByteArray>>("answered");
        QTest::addColumn<int>("left");
        const auto row = [](const char* name, const char* in, const char* out, const char* answers,
                            int left) {
            QTest::newRow(name) << Hex(in) << Hexes(out) << Hexes(answers) << left;
        };
        row("junk before a message", "0506e3010203ff", "e3010203ff", "", 0);
        row("only data bytes", "01020304", "", "", 0);
        row("no end byte yet", "e30102", "", "", 3);
        row("cut short by a command", "e301e3010203ff", "e3010203ff", "", 0);
        row("F5 between messages", "f5e30000fff5f5", "e30000ff", "f4 f4 f4", 0);
        row("lone end byte", "ffe30102ff", "e30102ff", "", 0);
        row("short messages dropped", "f1f3f4e30000ff", "e30000ff", "", 0);
        row("no decoder", "f2000102ffa00000ffe30000ff", "e30000ff", "", 0);
        row("two messages", "e3010203ff81646464ff", "e3010203ff 81646464ff", "", 0);
        row("one of each decoded command", "8100ff e000ff e300ff f600ff fa00ff fc00ff",
            "8100ff e000ff e300ff f600ff fa00ff fc00ff", "", 0);
    }
    void inPiecesOfEverySize() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, decoded);
        QFETCH(QList<QByteArray>, answered);
        QFETCH(int, left);
        for (int piece = 1; piece <= bytes.size(); ++piece) {
            Receiver link;
            for (int at = 0; at < bytes.size(); at += piece) {
                link.socket.Deliver(bytes.mid(at, piece));
                link.path.tmrDecode_Timer();
            }
            for (int tick = 0; tick < bytes.size() && link.path.DecodePending(); ++tick) {
                link.path.tmrDecode_Timer();
            }
            const QByteArray where = "pieces of " + QByteArray::number(piece);
            QVERIFY2(link.decoded == decoded && link.sender.sent == answered, where);
            QVERIFY2(link.path.Buffer().Size() == left, where);
            QVERIFY2(link.path.DecodePending() == (left > 0), where);
        }
    }

    void oneMessagePerEventThenOnePerTick() {
        Receiver link;
        link.socket.Deliver(Hex("0506e301e3010203ff"));  // skipped bytes cost no call
        QCOMPARE(link.decoded, Hexes("e3010203ff"));
        link.socket.Deliver(Hex("f5e30000ffe30101ff"));
        QCOMPARE(link.sender.sent, Hexes("f4"));
        QCOMPARE(link.decoded.size(), 1);
        QVERIFY(link.path.DecodePending());
        link.path.tmrDecode_Timer();
        link.path.tmrDecode_Timer();
        QCOMPARE(link.decoded, Hexes("e3010203ff e30000ff e30101ff"));
        QVERIFY(link.path.DecodePending());
        link.path.tmrDecode_Timer();
        QVERIFY(!link.path.DecodePending());
        link.socket.Deliver(Hex("e30000ff").repeated(3));
        QTRY_COMPARE_WITH_TIMEOUT(link.decoded.size(), 6, 5000);  // the timer on its own
        QTRY_VERIFY_WITH_TIMEOUT(!link.path.DecodePending(), 5000);
    }

    // A peer that never sends an end byte: the unfinished message is dropped
    // once the buffer passes its bound, and later messages still get through.
    void floodIsBoundedAndTheLinkRecovers() {
        Receiver link;
        link.socket.Deliver(Hex("e3"));
        const QByteArray megabyte(1024 * 1024, '\x01');
        for (qsizetype sent = 0; sent <= ReceiveBuffer::DefaultLimit; sent += megabyte.size()) {
            link.socket.Deliver(megabyte);
        }
        QCOMPARE(link.log.entries, (LogEntries{{"Error Receiving IP Message", "Socket Error"}}));
        link.socket.Deliver(Hex("e30102ff"));
        link.path.tmrDecode_Timer();
        QCOMPARE(link.decoded, Hexes("e30102ff"));
    }
};

QTEST_GUILESS_MAIN(DispatcherTest)
#include "DispatcherTest.moc"
