// Entry splitting for the settings file.
#include "IniEntries.h"

#include <utility>

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool endsEntry(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

}  // namespace

IniEntries::IniEntries(QString text) : m_text(std::move(text)) {}

std::optional<QString> IniEntries::next() {
    const int size = static_cast<int>(m_text.size());
    while (m_position < size && isBlank(m_text.at(m_position))) ++m_position;
    if (m_position >= size) return std::nullopt;

    const int start = m_position;
    while (m_position < size && !endsEntry(m_text.at(m_position))) ++m_position;
    int end = m_position;
    // Trailing blanks would otherwise end up inside the switcher's address.
    while (end > start && isBlank(m_text.at(end - 1))) --end;

    // CR LF is one line end, not an empty entry between two.
    if (m_position < size && m_text.at(m_position) == QLatin1Char('\r') && m_position + 1 < size &&
        m_text.at(m_position + 1) == QLatin1Char('\n')) {
        ++m_position;
    }
    if (m_position < size) ++m_position;
    return m_text.mid(start, end - start);
}
