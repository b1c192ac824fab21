// What the table decoders share. A decoder that meets a fault throws
// TableFault, MissingEntry (a bad index, from entryAt) or MessageTooShort
// (from MessageReader) and turns it into its one "any other fault" log entry.
#pragma once

#include <QByteArray>
#include <stdexcept>

#include "TableEntry.h"

struct TableFault : std::runtime_error {
    TableFault() : std::runtime_error("message does not fit the switcher's tables") {}
};

// The message without its checksum and end byte, offsets still counted from
// the command byte. Reading entries from this instead of the whole message
// keeps a message that is shorter than its counts from being padded out with
// its own checksum and end byte.
inline QByteArray withoutTrailer(const QByteArray& message) {
    return message.size() < 2 ? QByteArray() : message.left(message.size() - 2);
}
