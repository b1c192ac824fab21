// Looking up an entry of one of the panel's tables: a fader's channel, a
// channel's gain, name or link. The indexes are 16-bit and may be negative
// when a settings file or a switcher says so: that fails like any other
// missing entry instead of wrapping round to a huge index, so a bad index
// never touches memory and every caller can take its error path.
#pragma once

#include <cstddef>
#include <stdexcept>

struct MissingEntry : std::out_of_range {
    MissingEntry() : std::out_of_range("no such entry in the table") {}
};

// The entry at index of a vector-like table, writable when the table is.
template <typename Table>
decltype(auto) entryAt(Table& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) throw MissingEntry();
    return table[static_cast<std::size_t>(index)];
}
