// The built executables as a user runs them: the simulator and the panel side
// by side in a folder of their own, headless. The panel comes up against the
// simulator, and a SIGTERM closes it like File > Exit: it hangs up, writes its
// settings and exits with status 0.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "SimulatorProcess.h"

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void StartHeadless(QProcess& process, const QString& program) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {});
}

}  // namespace

class SimulatorSmokeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelAgainstSimulatorEndsCleanly() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString panelProgram = dir.filePath(QStringLiteral("orx-level-control"));
        const QString simProgram = dir.filePath(QStringLiteral("switcher-sim"));
        QVERIFY(QFile::copy(QStringLiteral(PANEL_EXECUTABLE), panelProgram));
        QVERIFY(QFile::copy(QStringLiteral(SWITCHER_SIM), simProgram));

        SimulatorProcess sim(simProgram, {"--keepalive", "0.2"});
        QVERIFY(sim.Port() != 0);
        const QByteArray settings =
            "[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=2\r\nChan 1=1\r\nLink 1=0\r\n"
            "Chan 2=3\r\nLink 2=0\r\nIP Address=127.0.0.1\r\nIP Port=" +
            QByteArray::number(sim.Port()) + "\r\n";
        const QString iniPath = dir.filePath(QStringLiteral("Slider.ini"));
        QVERIFY(WriteFile(iniPath, settings));
        QProcess panel;
        StartHeadless(panel, panelProgram);
        QVERIFY(panel.waitForStarted());
        // Asked for its tables, answered a keep-alive: the panel is up and talking.
        QVERIFY(sim.WaitFor(QStringLiteral("^#1 <- F2 ")).hasMatch());
        QVERIFY(sim.WaitFor(QStringLiteral("^#1 <- F4 ")).hasMatch());
        QVERIFY(QFile::remove(iniPath));

        ::kill(static_cast<pid_t>(panel.processId()), SIGTERM);
        QVERIFY(panel.waitForFinished(Patience));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QVERIFY(sim.WaitFor(QStringLiteral("^#1 disconnected")).hasMatch());
        QFile written(iniPath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), settings);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Errorlog.txt"))));
    }
};

QTEST_GUILESS_MAIN(SimulatorSmokeTest)
#include "SimulatorSmokeTest.moc"
