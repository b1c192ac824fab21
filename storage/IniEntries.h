// Splits the settings file's text into entries: an entry ends at a line end or
// at a comma, and blanks before it are skipped. Entries are handed out one at
// a time so a file of nothing but commas costs no memory.
#pragma once

#include <QString>
#include <optional>

class IniEntries {
public:
    explicit IniEntries(QString text);

    // The next entry, or nothing at the end of the text.
    std::optional<QString> next();

private:
    QString m_text;
    int m_position = 0;
};
