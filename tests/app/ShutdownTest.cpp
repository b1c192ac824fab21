// The built executables as an operator's session ends them: the panel (and,
// in one row, the simulator beside it) in a folder of its own, headless. A
// signal must close the panel like File > Exit: hang up, save the settings
// with the Stereo boxes' states, and exit with status 0.
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

#include "ProgramFolder.h"
#include "SimulatorProcess.h"

class ShutdownTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalClosesLikeExit_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("withSimulator");
        QTest::newRow("SIGTERM against the simulator") << int(SIGTERM) << true;
        QTest::newRow("SIGINT with no switcher") << int(SIGINT) << false;
    }
    void signalClosesLikeExit() {
        QFETCH(int, signalNumber);
        QFETCH(bool, withSimulator);
        // The panel keeps its files beside its executable.
        QTemporaryDir dir;
        const QString panelProgram = dir.filePath(QStringLiteral("orx-level-control"));
        const QString simProgram = dir.filePath(QStringLiteral("switcher-sim"));
        QVERIFY(QFile::copy(QStringLiteral(PANEL_EXECUTABLE), panelProgram));
        QVERIFY(QFile::copy(QStringLiteral(SWITCHER_SIM), simProgram));
        std::unique_ptr<SimulatorProcess> sim;
        QTcpServer unused;  // a port nothing listens on: the connection fails quietly
        unused.listen(QHostAddress::LocalHost);
        quint16 port = unused.serverPort();
        unused.close();
        if (withSimulator) {
            sim = std::make_unique<SimulatorProcess>(simProgram, QStringList{"--keepalive", "0.2"});
            port = sim->port();
            QVERIFY(port != 0);
        }
        // Fader 1 sits on a stereo pair of the simulator, fader 3 on a mono channel.
        const QByteArray settings = settingsText(port, 15, {1, 0, 0});
        const QString iniPath = dir.filePath(QStringLiteral("Slider.ini"));
        QVERIFY(writeFile(iniPath, settings));

        QProcess panel;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        panel.setProcessEnvironment(env);
        panel.start(panelProgram, {});
        QVERIFY(panel.waitForStarted());
        if (sim) {  // asked for its tables, answered a keep-alive: up and talking
            QVERIFY(sim->waitFor(QStringLiteral("^#1 <- F2 ")).hasMatch());
            QVERIFY(sim->waitFor(QStringLiteral("^#1 <- F4 ")).hasMatch());
        } else {  // the refused attempt is logged from the running event loop: past start-up
            const QString logPath = dir.filePath(QStringLiteral("Errorlog.txt"));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(logPath), Patience);
            QTRY_VERIFY(readFile(logPath).contains(
                QStringLiteral("Connection to switcher at 127.0.0.1:%1 failed, retrying")
                    .arg(port)
                    .toLatin1()));
        }
        QCOMPARE(panel.state(), QProcess::Running);
        QVERIFY(QFile::remove(iniPath));

        ::kill(static_cast<pid_t>(panel.processId()), signalNumber);
        QVERIFY(panel.waitForFinished(Patience));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(readFile(iniPath), settings);
        if (sim) {
            QVERIFY(sim->waitFor(QStringLiteral("^#1 disconnected")).hasMatch());
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Errorlog.txt"))));
        }
    }
};

QTEST_GUILESS_MAIN(ShutdownTest)
#include "ShutdownTest.moc"
