// OSC messages the panel sends its subscribers, built to bytes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QVariantList>

#include "RemotePicture.h"

// The messages that tell a subscriber how `now` differs from `before`;
// everything when before is null (a subscriber's first dump).
QList<QByteArray> feedbackMessages(const RemotePicture& now, const RemotePicture* before);

// One message: an address and a single argument.
QByteArray oscMessage(const QByteArray& address, float value);
QByteArray oscMessage(const QByteArray& address, int value);
QByteArray oscMessage(const QByteArray& address, const QString& value);
// Any number of arguments: int (i), double (f), QString (s), bool (T/F); a
// controller's message, for tests and tools.
QByteArray oscMessage(const QByteArray& address, const QVariantList& arguments);
