// Checked access for the table decoders. A decoder that meets a fault throws
// TableFault (or MessageTooShort from MessageReader) and turns it into its one
// "any other fault" log entry, so a bad index never touches memory.
#pragma once

#include <QByteArray>
#include <stdexcept>
#include <vector>

struct TableFault : std::runtime_error {
    TableFault() : std::runtime_error("message does not fit the switcher's tables") {}
};

// The entry at index; a negative index or one past the end is a fault.
template <typename T>
T& CheckedEntry(std::vector<T>& table, int index) {
    if (index < 0 || static_cast<size_t>(index) >= table.size()) throw TableFault();
    return table[static_cast<size_t>(index)];
}

// The message without its checksum and end byte, offsets still counted from
// the command byte. Reading entries from this instead of the whole message
// keeps a message that is shorter than its counts from being padded out with
// its own checksum and end byte.
inline QByteArray WithoutTrailer(const QByteArray& message) {
    return message.size() < 2 ? QByteArray() : message.left(message.size() - 2);
}
