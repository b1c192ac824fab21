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
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_, [this] {
            partial_ += QString::fromUtf8(process_.readAllStandardOutput());
            QStringList complete = partial_.split(QLatin1Char('\n'));
            partial_ = complete.takeLast();
            lines_ += complete;
        });
        process_.start(program, QStringList{"--port", "0"} + options);
        const QRegularExpressionMatch listening = WaitFor("^listening on .*:(\\d+)$");
        port_ = listening.hasMatch() ? listening.captured(1).toUShort() : 0;
    }
    ~SimulatorProcess() {
        process_.kill();
        process_.waitForFinished();
    }

    quint16 Port() const { return port_; }
    // Where the next line will be: wait for what comes after an action.
    int Mark() const { return static_cast<int>(lines_.size()); }

    // The first line from `from` on that matches, or no match.
    QRegularExpressionMatch Find(const QString& pattern, int from = 0) const {
        const QRegularExpression expression(pattern);
        for (int i = from; i < lines_.size(); ++i) {
            QRegularExpressionMatch match = expression.match(lines_[i]);
            if (match.hasMatch()) return match;
        }
        return {};
    }
    QRegularExpressionMatch FindLast(const QString& pattern) const {
        const QRegularExpression expression(pattern);
        for (auto line = lines_.crbegin(); line != lines_.crend(); ++line) {
            QRegularExpressionMatch match = expression.match(*line);
            if (match.hasMatch()) return match;
        }
        return {};
    }
    // As Find, waiting up to the patience for the line while the simulator runs.
    QRegularExpressionMatch WaitFor(const QString& pattern, int from = 0) {
        QRegularExpressionMatch match = Find(pattern, from);
        for (int waited = 0;
             !match.hasMatch() && waited < Patience && process_.state() != QProcess::NotRunning;
             waited += 10) {
            QTest::qWait(10);
            match = Find(pattern, from);
        }
        return match;
    }

private:
    QProcess process_;
    QString partial_;
    QStringList lines_;
    quint16 port_ = 0;
};
