// Reading a controller's datagrams: what each becomes, in order, and how
// damaged or foreign ones are turned away before the OSC library reads them
// (the three hostile rows once crashed it or held it in place for ever).
#include <QtTest>

#include "OscDecoder.h"
#include "OscEncoder.h"

namespace {

// "db 2 -6" for a command, the fault's number and address for a fault.
QStringList read(const QByteArray& datagram) {
    static const char* const kinds[] = {"db",     "code",      "nudge",      "zero",
                                        "recall", "subscribe", "unsubscribe"};
    QStringList out;
    for (const RemoteDecoded& decoded : decodeOscDatagram(datagram, 3)) {
        if (const auto* c = std::get_if<RemoteCommand>(&decoded)) {
            out << QStringLiteral("%1 %2 %3%4")
                       .arg(kinds[int(c->kind)])
                       .arg(c->fader + 1)
                       .arg(c->value)
                       .arg(c->name.isEmpty() ? QString() : ' ' + c->name);
        } else {
            const auto& f = std::get<RemoteFaultReport>(decoded);
            out << QStringLiteral("fault %1 %2").arg(int(f.fault)).arg(f.address).trimmed();
        }
    }
    return out;
}

QByteArray bundle(const QList<QByteArray>& elements) {
    QByteArray out("#bundle\0\0\0\0\0\0\0\0\0", 16);
    for (const QByteArray& element : elements) {
        const quint32 size = quint32(element.size());
        out += char(size >> 24) + QByteArray(1, char(size >> 16)) + char(size >> 8) + char(size);
        out += element;
    }
    return out;
}

}  // namespace

class OscDecoderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void datagramsBecomeCommandsOrFaults() {
        QCOMPARE(read(bundle({oscMessage("/fader/2/db", QVariantList{-6.0}),
                              bundle({oscMessage("/fader/3/zero", QVariantList{false})}),
                              oscMessage("/snapshot/recall", QVariantList{"Show", 2.5})})),
                 QStringList({"db 2 -6", "zero 3 0", "recall 1 0 Show"}));
        QCOMPARE(read(oscMessage("/fader/4/db", QVariantList{1.0})),
                 QStringList{"fault 4 /fader/4/db"});
        QCOMPARE(read(oscMessage("/fader/1/code", QVariantList{1.5})),
                 QStringList{"fault 3 /fader/1/code"});
        QCOMPARE(read(oscMessage("/fader/1/pan", QVariantList{1})),
                 QStringList{"fault 2 /fader/1/pan"});
        QCOMPARE(read("hello world!"), QStringList{"fault 0"});
        const QByteArray blobRunsOff = QByteArray::fromBase64(
            "L3N1YmJyAAAsaWJicgAALGkvc25hcHNob10vcmVjYWxsAAAvZGK3YgAsaWYAAAAA/2Ny/e8mL/0=");
        QCOMPARE(read(blobRunsOff), QStringList{"fault 1"});
        const QByteArray paddedWithJunk = QByteArray::fromBase64(
            "LwD6/yxzZgAsRkZkZGRkZGRkYmJibgAAAKMAAAAAAAASAAAAAAAAAAAAAP///"
            "yxG+v8sRkZkZGRkZGRkYmJibgAAAKMAAAAAAAASAAAAAAAAAAAAAP///yxGAACHAAAAAIcAAA==");
        QCOMPARE(read(paddedWithJunk), QStringList{"fault 1"});
        QByteArray zeroSized = bundle({});
        zeroSized += QByteArray(4, 0) + oscMessage("/fader/1/zero", QVariantList{});
        QCOMPARE(read(zeroSized), QStringList{"fault 1"});
    }
};

QTEST_GUILESS_MAIN(OscDecoderTest)
#include "OscDecoderTest.moc"
