// The frame helpers and the receive buffer they cut messages from.
#include <QtTest>

#include "Frame.h"
#include "LinkHarness.h"
#include "ReceiveBuffer.h"

class FrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checksum_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("expected");
        QTest::newRow("64 + 1E reduced to 7 bits") << Hex("f2641e") << 0 << 2;
        QTest::newRow("one-byte message") << Hex("e3") << 0 << 0;
        QTest::newRow("n leaves only the command") << Hex("e30102ff") << 3 << 0;
        QTest::newRow("received") << Hex("e3020f020005000008000828ff") << 2 << 0x28;
    }
    void checksum() {
        QFETCH(QByteArray, message);
        QFETCH(int, n);
        QFETCH(int, expected);
        QCOMPARE(Frame::ByteChecksum(message, n), expected);
    }

    void messageWithoutDataBytes() { QCOMPARE(Frame::BuildMessage(0xE3, {}), Hex("e300ff")); }

    // The plain search and the buffer's resumable one must agree.
    void findEOM_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("starts with FF") << Hex("ff0102") << 1;
        QTest::newRow("second FF changes nothing") << Hex("e30102ff05ff") << 4;
        QTest::newRow("no FF") << Hex("e30102") << 0;
    }
    void findEOM() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expected);
        QCOMPARE(Frame::FindEOM(bytes), expected);
        ReceiveBuffer buffer;
        buffer.Append(bytes);
        QCOMPARE(buffer.FindEOM(), expected);
    }

    void trimBuffer_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("taken");
        QTest::newRow("part") << 2 << Hex("e301");
        QTest::newRow("exactly all") << 4 << Hex("e30102ff");
        QTest::newRow("more than all") << 9 << Hex("e30102ff");
        QTest::newRow("nothing") << 0 << QByteArray();
    }
    void trimBuffer() {
        QFETCH(int, n);
        QFETCH(QByteArray, taken);
        ReceiveBuffer buffer;
        buffer.Append(Hex("e30102ff"));
        QCOMPARE(buffer.TrimBuffer(n), taken);
        QCOMPARE(buffer.TrimBuffer(99), Hex("e30102ff").mid(taken.size()));
    }

    // Thousands of messages in uneven pieces, then a burst: the buffer is
    // never empty, so its front is compacted under a remembered search
    // position, and each message must still come out whole and in order.
    void longRunKeepsMessagesIntact() {
        const auto message = [](int i) {
            return char(0xE3) + QByteArray(i % 40, char(i % 100)) + char(0xFF);
        };
        ReceiveBuffer buffer;
        int taken = 0;
        const auto takeAll = [&] {
            for (qsizetype end = buffer.FindEOM(); end > 0; end = buffer.FindEOM()) {
                if (buffer.TrimBuffer(end) != message(taken++)) return false;
            }
            return true;
        };
        buffer.Append(message(0).left(1));
        for (int i = 0; i < 3000; ++i) {
            buffer.Append(message(i).mid(1, 3));
            QVERIFY(takeAll());
            buffer.Append(message(i).mid(4) + message(i + 1).left(1));
            QVERIFY(takeAll());
        }
        QByteArray burst = message(3000).mid(1);
        for (int i = 3001; i < 6000; ++i) burst += message(i);
        buffer.Append(burst);
        QVERIFY(takeAll());
        QCOMPARE(taken, 6000);
        QVERIFY(buffer.IsEmpty());
    }
};

QTEST_GUILESS_MAIN(FrameTest)
#include "FrameTest.moc"
