// Looking up a fader or a channel in one of the panel's tables. The indexes
// are 16-bit and may be negative when a settings file says so: that must fail
// like any other missing entry instead of wrapping round to a huge index.
#pragma once

#include <cstddef>
#include <stdexcept>

template <typename Table>
const auto& EntryAt(const Table& table, int index) {
    if (index < 0) throw std::out_of_range("negative index");
    return table.at(static_cast<std::size_t>(index));
}
