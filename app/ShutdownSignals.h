// Turns SIGTERM and SIGINT into a Qt signal on the UI thread, so that a
// logout or a service stop closes the panel the way File > Exit does and the
// operator's settings are saved.
#pragma once

#include <QObject>

class QSocketNotifier;

class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

Q_SIGNALS:
    void shutdownRequested();

private:
    void onSignalPipeReadable();

    QSocketNotifier* m_notifier = nullptr;
};
