// Messages on the wire: how the receive path cuts them from the byte stream
// and hands them to their decoders, the type request handshake (information
// requests are checked with the tables that ask for them again), and gain
// messages both ways: the bytes a fader move sends, and what a received
// report stores, refreshes or reports.
#include <QtTest>
#include <tuple>

#include "Dispatcher.h"
#include "ErrorLog.h"
#include "FakeSocket.h"
#include "GainMessages.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"
#include "TypeRequest.h"

namespace {
// The link on a connected fake socket; every message that reaches a
// decoder is kept instead of decoded.
struct Receiver : LinkHarness {
    explicit Receiver(ErrorSink* sink = nullptr, DecoderTable decoders = {})
        : socket(new FakeSocket),
          link(state, view, sink ? *sink : log, std::unique_ptr<SwitcherSocket>(socket), nullptr,
               decoders.empty() ? recording() : std::move(decoders)) {
        socket->connected = true;
    }
    DecoderTable recording() {
        DecoderTable table;
        for (const auto& entry : switcherDecoders()) {
            table[entry.first] = [this](LinkContext&, const QByteArray& m) {
                decoded << m;
                return false;
            };
        }
        return table;
    }
    QList<QByteArray> decoded;
    FakeSocket* socket;  // owned by the link
    SwitcherConnection link;
};

// Every stored gain that is not 0 ("dsp5=1024": channel 5's DspOutput), the
// refreshes and what was logged.
QString outcomeOf(const LinkHarness& h) {
    const PanelState& s = h.state;
    QStringList out;
    const auto add = [&](const char* field, size_t channel, int code) {
        if (code) out << QStringLiteral("%1%2=%3").arg(field).arg(channel).arg(code);
    };
    for (size_t c = 0; c < s.InputGains.size(); ++c) add("in", c, s.InputGains[c].InputSensitivity);
    for (size_t c = 0; c < s.OutputGains.size(); ++c) {
        add("dsp", c, s.OutputGains[c].DspOutput);
        add("out", c, s.OutputGains[c].FinalOutput);
    }
    out << QStringLiteral("refresh %1").arg(h.view.refreshRequests);
    for (const Entry& entry : h.log.entries) out << entry.first;
    return out.join(' ');
}
}  // namespace

class MessagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each case is fed in pieces of every size with a decode tick after each
    // piece: how the bytes were split must not matter.
    void inPiecesOfEverySize() {
        struct Case {
            const char *bytes, *decoded, *answered;
            int left;
        };
        for (const Case& c : {
                 Case{"0506fff1f3f4e3010203ff", "e3010203ff", "", 0},  // junk, lone FF, short ones
                 Case{"e30102", "", "", 3},                            // no end byte yet
                 Case{"e301e3010203ff", "e3010203ff", "", 0},          // cut short by a command
                 Case{"f5e30000fff5f5", "e30000ff", "f4 f4 f4", 0},    // each F5 answered
                 Case{"f2000102ffa00000ffe30000ff", "e30000ff", "", 0},  // no decoder
                 Case{"8100ffe000ffe300fff600fffa00fffc00ff",
                      "8100ff e000ff e300ff f600ff fa00ff fc00ff", "", 0},
             }) {
            const QByteArray bytes = hex(c.bytes);
            for (int piece = 1; piece <= bytes.size(); ++piece) {
                Receiver link;
                for (int at = 0; at < bytes.size(); at += piece) {
                    link.socket->deliver(bytes.mid(at, piece));
                    link.link.tmrDecode_Timer();
                }
                for (int tick = 0; tick < bytes.size() && link.link.decodePending(); ++tick)
                    link.link.tmrDecode_Timer();
                const bool right =
                    link.decoded == hexes(c.decoded) && link.socket->writes == hexes(c.answered) &&
                    link.link.buffer().size() == c.left && !link.link.decodePending();
                QVERIFY2(right,
                         qPrintable(QStringLiteral("%1 in pieces of %2").arg(c.bytes).arg(piece)));
            }
        }
    }

    // The decode timer runs while whole messages wait and rests while only an
    // unfinished one does, however long that lasts; the end byte, when it
    // comes, has the message decoded at once.
    void decodeTimerRestsOnAnUnfinishedMessage() {
        Receiver link;
        link.socket->deliver(hex("e30000ff e30000ff e301"));
        QCOMPARE(link.decoded, hexes("e30000ff"));
        QVERIFY(link.link.decodePending());
        link.link.tmrDecode_Timer();
        QCOMPARE(link.decoded, hexes("e30000ff e30000ff"));
        link.link.tmrDecode_Timer();  // finds only the unfinished one
        QVERIFY(!link.link.decodePending());
        link.socket->deliver(QByteArray(100000, '\x01'));
        QVERIFY(!link.link.decodePending());
        QTest::qWait(20);  // a resting timer decodes nothing meanwhile
        QCOMPARE(link.decoded.size(), 2);
        link.socket->deliver(hex("02ff"));
        QCOMPARE(link.decoded.size(), 3);
        QCOMPARE(link.decoded.last(), hex("e301") + QByteArray(100000, '\x01') + hex("02ff"));
        QVERIFY(link.link.buffer().isEmpty());
    }

    // A switcher that sends bad messages for half an hour: the log keeps the
    // first entries of the trouble exactly, sums up the rest every ten
    // minutes and when it ends, and stays a few kilobytes.
    void floodOfBadMessagesKeepsTheLogSmall() {
        QTemporaryDir dir;
        QDateTime now(QDate(2026, 12, 6), QTime(23, 0));
        auto log = std::make_unique<ErrorLog>(
            dir.path() + '/', [&] { return now; },
            QLocale(QLocale::English, QLocale::UnitedStates));
        auto receiver = std::make_unique<Receiver>(log.get(), switcherDecoders());
        const QByteArray wrongChecksum = hex("e3 02 0f 01 00 05 00 00 08 00 ff");
        const int flood = 60000;  // one every 30 ms
        for (int i = 0; i < flood; ++i, now = now.addMSecs(30))
            receiver->socket->deliver(wrongChecksum);
        now = now.addSecs(5);
        receiver.reset();
        log.reset();  // the end of the run sums up what is still held

        QFile file(dir.filePath("Errorlog.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.size() < 4096);
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n").mid(11);
        QCOMPARE(lines.size(), 10 + 3 + 1);  // ten in full, three summaries, the last line end
        qint64 held = 0;
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(lines[i].mid(24, 36), QString("Gain Message").leftJustified(36));
            const QString description = lines[i].mid(60);
            if (i < 10) {
                QCOMPARE(lines[i].left(24), QString("12/6/26 11:00:00 PM").leftJustified(24));
                QCOMPARE(description, "Check Sum Error");
                continue;
            }
            const QRegularExpression summary(
                R"(^Check Sum Error \((\d+) more like this until .*\)$)");
            const QRegularExpressionMatch match = summary.match(description);
            QVERIFY2(match.hasMatch(), qPrintable(description));
            held += match.captured(1).toLongLong();
        }
        QCOMPARE(held, flood - 10);
        QVERIFY(lines[12].endsWith("until 12/6/26 11:29:59 PM)"));
    }

    // A peer that never sends an end byte: the unfinished message is dropped
    // once the buffer passes its bound, and later messages still get through.
    void floodIsBoundedAndTheLinkRecovers() {
        Receiver link;
        link.socket->deliver(hex("e3"));
        const QByteArray megabyte(qsizetype{1024} * 1024, '\x01');
        for (qsizetype sent = 0; sent <= ReceiveBuffer::DefaultLimit; sent += megabyte.size())
            link.socket->deliver(megabyte);
        QCOMPARE(link.log.entries, (LogEntries{{"Error Receiving IP Message", "Socket Error"}}));
        link.socket->deliver(hex("e30102ff"));
        link.link.tmrDecode_Timer();
        QCOMPARE(link.decoded, hexes("e30102ff"));
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
            for (qsizetype end; (end = buffer.FindEOM()) > 0;)
                QCOMPARE(buffer.TrimBuffer(end), message(taken++));
        };
        buffer.append(message(0).left(1));
        for (int i = 0; i < 3000; ++i) {
            for (const QByteArray& piece : {message(i).mid(1, 3), message(i).mid(4) + '\xE3'}) {
                buffer.append(piece);
                takeAll();
            }
        }
        QByteArray burst = message(3000).mid(1);
        for (int i = 3001; i < 6000; ++i) burst += message(i);
        buffer.append(burst);
        takeAll();
        QVERIFY(taken == 6000 && buffer.isEmpty());
    }

    // Only a type request of 4 or 5 bytes with byte 1 = 64 is answered (the
    // first two here); the start-up information request follows no sooner
    // than 100 ms later.
    void typeRequest() {
        int row = 0;
        for (const QByteArray& request :
             hexes("816464ff 81641074ff 816465ff 8100ff 816400000064ff 816363ff 81")) {
            const bool answered = row++ < 2;
            LinkHarness link;
            QCOMPARE(ProcessTypeRequest(link.ctx, request), answered);
            QCOMPARE(link.sender.sent,
                     hexes(answered ? "810a010bff f2001e020000000000000020ff" : ""));
            QVERIFY(link.log.entries.isEmpty());
            if (answered) QVERIFY(link.sender.at[1] - link.sender.at[0] >= 100);
        }
    }

    // A value the message cannot carry sends nothing and is logged.
    void sendGain() {
        using Case = std::tuple<bool, int16_t, int16_t, int16_t, int16_t, const char*>;
        for (const auto& [stereo, stage, code, channel, extraOrCount, bytes] :
             {Case{false, 15, 1024, 5, 16383, "e3020f0100050000081fff"},
              Case{true, 15, 1024, 5, 2, "e3020f020005000008000828ff"},
              Case{false, 15, 1024, 5, 3, "e3020f010005000008030022ff"},
              Case{false, 15, 1024, 16384, 16383, ""},  // channel beyond 14 bits: refused
              Case{true, 128, 1024, 5, 2, ""}}) {       // stage beyond 7 bits: refused
            LinkHarness link;
            (stereo ? sendStereoGainChange : sendGainChange)(link.ctx, stage, code, channel,
                                                             extraOrCount);
            QCOMPARE(link.sender.sent, hexes(bytes));
            const LogEntries fault{{"Error Sending Gain Message", "Switcher Message Error"}};
            QCOMPARE(link.log.entries, *bytes ? LogEntries{} : fault);
        }
    }

    // Entry lengths vary by stage. A message one or two bytes short is dropped
    // quietly, as the switcher's own framing reads it.
    void receiveGain_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const char* bytes, const char* expected) {
            QTest::newRow(name) << hex(bytes) << QString(expected);
        };
        row("stereo pair, stage 15", "e3020f020005000008000828ff", "dsp5=1024 dsp6=1024 refresh 1");
        row("stage 3", "e3020301000500000813ff", "out5=1024 refresh 1");
        row("stage 1 grows the table", "e302010200400c0008000861ff",
            "in1600=1024 in1601=1024 refresh 1");
        row("stage 16, 3 bytes each", "e302100100050000080727ff", "refresh 1");
        row("mix stage 11, 5 bytes each", "e3020b01000500000801000723ff", "refresh 1");
        row("one byte too long", "e3020f010005000008001fff", "refresh 0");
        row("two bytes short", "e3020f02000500000820ff", "refresh 0");
        row("three bytes short", "e3020f020005000018ff", "refresh 0 Error Receiving Gain");
        row("bad checksum", "e3020f0100050000081eff", "refresh 0 Check Sum Error");
        row("header cut off", "e30000ff", "refresh 0 Error Receiving Gain");
    }
    void receiveGain() {
        QFETCH(QByteArray, message);
        QFETCH(QString, outcome);
        LinkHarness link;
        ReceiveGain(link.ctx, message);
        QCOMPARE(outcomeOf(link), outcome);
    }

    // The message ends three bytes before its entries do, and the bytes after
    // its end would make it look whole: they must not be read.
    void shortGainIsNotReadPastItsEnd() {
        LinkHarness link;
        const QByteArray memory = hex("e3020f020005000018ff000828ff");
        ReceiveGain(link.ctx, QByteArray::fromRawData(memory.constData(), 10));
        QCOMPARE(outcomeOf(link), QStringLiteral("refresh 0 Error Receiving Gain"));
    }
};

QTEST_GUILESS_MAIN(MessagesTest)
#include "MessagesTest.moc"
