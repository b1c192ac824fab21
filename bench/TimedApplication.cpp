// Nested events (an event sent from inside another) belong to the outermost
// one: only that is timed, since the thread is not free until it returns.
#include "TimedApplication.h"

#include <QEvent>

TimedApplication::TimedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TimedApplication::StartWatching() {
    longest_ = {};
    events_ = 0;
    timerEvents_ = 0;
    timerReceivers_.clear();
}

bool TimedApplication::notify(QObject* receiver, QEvent* event) {
    if (depth_ > 0) return QApplication::notify(receiver, event);
    Count(receiver, event);
    ++depth_;
    const Clock::time_point start = Clock::now();
    const bool handled = QApplication::notify(receiver, event);
    --depth_;
    const Clock::time_point end = Clock::now();
    longest_ = std::max(longest_, end - start);
    if (afterEachEvent) afterEachEvent(end);
    return handled;
}

void TimedApplication::Count(QObject* receiver, QEvent* event) {
    ++events_;
    if (event->type() != QEvent::Timer || receiver == ignored_) return;
    ++timerEvents_;
    const QObject* owner = receiver->parent();
    const QString who =
        QStringLiteral("%1 \"%2\" in %3")
            .arg(QString::fromLatin1(receiver->metaObject()->className()), receiver->objectName(),
                 owner ? QString::fromLatin1(owner->metaObject()->className())
                       : QStringLiteral("no parent"));
    if (!timerReceivers_.contains(who)) timerReceivers_.append(who);
}

TimedApplication& App() { return *static_cast<TimedApplication*>(QCoreApplication::instance()); }
