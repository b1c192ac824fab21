// Entry splitting for the settings file.
#include "IniEntries.h"

#include <utility>

namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool EndsEntry(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

}  // namespace

IniEntries::IniEntries(QString text) : text_(std::move(text)) {}

std::optional<QString> IniEntries::Next() {
    const int size = static_cast<int>(text_.size());
    while (position_ < size && IsBlank(text_.at(position_))) ++position_;
    if (position_ >= size) return std::nullopt;

    const int start = position_;
    while (position_ < size && !EndsEntry(text_.at(position_))) ++position_;
    int end = position_;
    // Trailing blanks would otherwise end up inside the switcher's address.
    while (end > start && IsBlank(text_.at(end - 1))) --end;

    // CR LF is one line end, not an empty entry between two.
    if (position_ < size && text_.at(position_) == QLatin1Char('\r') && position_ + 1 < size &&
        text_.at(position_ + 1) == QLatin1Char('\n')) {
        ++position_;
    }
    if (position_ < size) ++position_;
    return text_.mid(start, end - start);
}
