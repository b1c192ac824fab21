// The simulator as a separate process on a free loopback port, with every
// line it prints kept, so that a test can wait for what it did.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

constexpr int Patience = 10000;  // ms; the machine may be busy

class SimulatorProcess {
public:
    explicit SimulatorProcess(const QString& program, const QStringList& options = {}) {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
            m_partial += QString::fromUtf8(m_process.readAllStandardOutput());
            QStringList complete = m_partial.split(QLatin1Char('\n'));
            m_partial = complete.takeLast();
            m_lines += complete;
        });
        m_process.start(program, QStringList{"--port", "0"} + options);
        const QRegularExpressionMatch listening = waitFor("^listening on .*:(\\d+)$");
        m_port = listening.hasMatch() ? listening.captured(1).toUShort() : 0;
    }
    ~SimulatorProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }

    quint16 port() const { return m_port; }
    // Where the next line will be: wait for what comes after an action.
    int mark() const { return static_cast<int>(m_lines.size()); }
    const QStringList& lines() const { return m_lines; }

    // The first line from `from` on that matches, or no match.
    QRegularExpressionMatch find(const QString& pattern, int from = 0) const {
        const QRegularExpression expression(pattern);
        for (int i = from; i < m_lines.size(); ++i) {
            QRegularExpressionMatch match = expression.match(m_lines[i]);
            if (match.hasMatch()) return match;
        }
        return {};
    }
    QRegularExpressionMatch findLast(const QString& pattern) const {
        const QRegularExpression expression(pattern);
        for (auto line = m_lines.crbegin(); line != m_lines.crend(); ++line) {
            QRegularExpressionMatch match = expression.match(*line);
            if (match.hasMatch()) return match;
        }
        return {};
    }
    // As Find, waiting up to the patience for the line while the simulator runs.
    QRegularExpressionMatch waitFor(const QString& pattern, int from = 0) {
        QRegularExpressionMatch match = find(pattern, from);
        for (int waited = 0;
             !match.hasMatch() && waited < Patience && m_process.state() != QProcess::NotRunning;
             waited += 10) {
            QTest::qWait(10);
            match = find(pattern, from);
        }
        return match;
    }

    // Whether the simulator has reported this gain of channel (1-based) at
    // stage 15 back to a panel since line `from`, waiting for it.
    bool reportedBack(int from, int channel, int code) {
        return waitFor(QStringLiteral("-> E3 .*gain report stage 15 ch %1[ -].* = %2 ")
                           .arg(channel)
                           .arg(code),
                       from)
            .hasMatch();
    }

private:
    QProcess m_process;
    QString m_partial;
    QStringList m_lines;
    quint16 m_port = 0;
};
