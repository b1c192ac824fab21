// The built panel, run as an operator's session would end it: a signal must
// close it like File > Exit, save the settings and exit cleanly.
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A port nothing listens on, so the panel's connection attempt fails quietly.
quint16 UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

}  // namespace

class ShutdownTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalClosesLikeExit_data();
    void signalClosesLikeExit();
};

void ShutdownTest::signalClosesLikeExit_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void ShutdownTest::signalClosesLikeExit() {
    QFETCH(int, signalNumber);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The panel keeps its files beside its executable: run a copy in a folder of its own.
    const QString exe = dir.filePath(QStringLiteral("orx-level-control"));
    QVERIFY(QFile::copy(QStringLiteral(PANEL_EXECUTABLE), exe));

    const QByteArray settings = "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=3\r\n"
                                "Chan 1=5\r\nLink 1=1\r\nChan 2=6\r\nLink 2=0\r\n"
                                "Chan 3=7\r\nLink 3=1\r\nIP Address=127.0.0.1\r\nIP Port=" +
                                QByteArray::number(UnusedPort()) + "\r\n";
    QFile ini(dir.filePath(QStringLiteral("Slider.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(settings);
    ini.close();

    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    panel.setProcessEnvironment(env);
    panel.start(exe, {});
    QVERIFY(panel.waitForStarted());
    // Give it time to read its settings and show the window before the signal.
    QTest::qWait(1500);
    QCOMPARE(panel.state(), QProcess::Running);
    QFile::remove(ini.fileName());

    ::kill(static_cast<pid_t>(panel.processId()), signalNumber);
    QVERIFY(panel.waitForFinished(10000));
    QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(panel.exitCode(), 0);
    // The Stereo boxes were set from the file and go back into it.
    QCOMPARE(ReadAll(ini.fileName()), settings);
}

QTEST_GUILESS_MAIN(ShutdownTest)
#include "ShutdownTest.moc"
