// Nested events (an event sent from inside another) belong to the outermost
// one: only that is timed, since the thread is not free until it returns.
#include "TimedApplication.h"

#include <QEvent>

TimedApplication::TimedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TimedApplication::startWatching() {
    m_longest = {};
    m_events = 0;
    m_timerEvents = 0;
    m_timerReceivers.clear();
}

bool TimedApplication::notify(QObject* receiver, QEvent* event) {
    if (m_depth > 0) return QApplication::notify(receiver, event);
    count(receiver, event);
    ++m_depth;
    const Clock::time_point start = Clock::now();
    const bool handled = QApplication::notify(receiver, event);
    --m_depth;
    const Clock::time_point end = Clock::now();
    m_longest = std::max(m_longest, end - start);
    if (afterEachEvent) afterEachEvent(end);
    return handled;
}

void TimedApplication::count(QObject* receiver, QEvent* event) {
    ++m_events;
    if (event->type() != QEvent::Timer || receiver == m_ignored) return;
    ++m_timerEvents;
    const QObject* owner = receiver->parent();
    const QString who =
        QStringLiteral("%1 \"%2\" in %3")
            .arg(QString::fromLatin1(receiver->metaObject()->className()), receiver->objectName(),
                 owner ? QString::fromLatin1(owner->metaObject()->className())
                       : QStringLiteral("no parent"));
    if (!m_timerReceivers.contains(who)) m_timerReceivers.append(who);
}

TimedApplication& app() { return *static_cast<TimedApplication*>(QCoreApplication::instance()); }
