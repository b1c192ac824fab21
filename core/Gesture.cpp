#include "Gesture.h"

QString sourceName(MoveSource source) {
    switch (source) {
        case MoveSource::Mouse:
            return QStringLiteral("mouse");
        case MoveSource::Keyboard:
            return QStringLiteral("keyboard");
        case MoveSource::Wheel:
            return QStringLiteral("wheel");
        case MoveSource::ZeroButton:
            return QStringLiteral("0db button");
        case MoveSource::HomeEnd:
            return QStringLiteral("keyboard");
        case MoveSource::ScreenReader:
            return QStringLiteral("screen reader");
        case MoveSource::Snapshot:
            return QStringLiteral("snapshot");
        case MoveSource::Undo:
            return QStringLiteral("undo");
        case MoveSource::Redo:
            return QStringLiteral("redo");
        case MoveSource::Typed:
            return QStringLiteral("typed");
        case MoveSource::Remote:
            return QStringLiteral("remote");
    }
    return QString();
}
