// Reading and writing "Panel.ini" by hand: the file must keep the CR LF line
// ends and plain "Key=Value" lines of its neighbour "Slider.ini", which a
// general settings class would not write. The file is replaced whole through
// a temporary file, so a failed write never costs the operator the settings.
#include "PanelIni.h"

#include <QFile>
#include <QStringTokenizer>
#include <algorithm>
#include <optional>
#include <utility>

#include "ErrorSink.h"
#include "WholeFile.h"

namespace {

const QString FileName = QStringLiteral("Panel.ini");
const QString FileError = QStringLiteral("File Error");
const QString ReadFailure = QStringLiteral("Error Reading Panel.ini File");
const QString WriteFailure = QStringLiteral("Error Writing Panel.ini File");
const QString LineEnd = QStringLiteral("\r\n");

// A few features' settings take a few kilobytes; anything this large is not
// a settings file and is refused rather than held in memory.
constexpr qint64 MaxFileBytes = qint64{1024} * 1024;

bool isComment(const QString& line) {
    return line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'));
}

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// What the reader would trim or split differently cannot be written: the
// file would give back another name, or a damaged line.
bool isWritableName(const QString& name) {
    return !name.isEmpty() && name == name.trimmed() && !hasLineBreak(name);
}

bool isWritableKey(const QString& key) {
    return isWritableName(key) && !key.contains(QLatin1Char('=')) && !isComment(key) &&
           !key.startsWith(QLatin1Char('['));
}

// The value as the next read will give it back.
QString fileValue(QString value) {
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value.trimmed();
}

}  // namespace

PanelIni::PanelIni(QString folder, ErrorSink& log) : m_folder(std::move(folder)), m_log(log) {}

QString PanelIni::filePath() const { return m_folder + FileName; }

void PanelIni::read() {
    try {
        m_leadingComments.clear();
        m_sections.clear();
        m_unreadable = false;
        const QString path = filePath();
        if (!QFile::exists(path)) return;
        const std::optional<QString> text = readWholeFile(path, MaxFileBytes);
        m_unreadable = !text;
        if (!text || !parse(*text)) m_log.LogError(ReadFailure, FileError);
    } catch (...) {
        m_log.LogError(ReadFailure, FileError);
    }
}

// Returns whether every line could be read; the damaged ones are left out.
bool PanelIni::parse(const QString& text) {
    bool whole = true;
    Section* current = nullptr;  // null before the first section and under a damaged header
    for (const QStringView rawLine : QStringView(text).tokenize(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty()) continue;
        if (isComment(line)) {
            // Under a damaged header, the comment goes with its section.
            if (current) {
                current->lines.append({line, {}, true});
            } else if (m_sections.isEmpty()) {
                m_leadingComments.append(line);
            }
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = name.isEmpty() ? nullptr : &sectionNamed(name);
            whole = whole && current;
            continue;
        }
        // The line is trimmed, so only a leading '=' leaves the key empty.
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals <= 0) {
            whole = false;
            continue;
        }
        put(current->lines, line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return whole;
}

QString PanelIni::value(const QString& section, const QString& key, const QString& fallback) const {
    try {
        const qsizetype index = indexOf(section);
        if (index < 0) return fallback;
        for (const Line& line : m_sections.at(index).lines) {
            if (!line.comment && line.key == key) return line.value;
        }
    } catch (...) {
        // as if the key were missing
    }
    return fallback;
}

QStringList PanelIni::sections() const {
    QStringList names;
    try {
        for (const Section& section : m_sections) names.append(section.name);
    } catch (...) {
        names.clear();
    }
    return names;
}

QStringList PanelIni::keys(const QString& section) const {
    QStringList names;
    try {
        const qsizetype index = indexOf(section);
        if (index < 0) return names;
        for (const Line& line : m_sections.at(index).lines) {
            if (!line.comment) names.append(line.key);
        }
    } catch (...) {
        names.clear();
    }
    return names;
}

void PanelIni::setValue(const QString& section, const QString& key, const QString& value) {
    change([&] {
        if (!isWritableName(section) || !isWritableKey(key)) return false;
        put(sectionNamed(section).lines, key, fileValue(value));
        return true;
    });
}

void PanelIni::removeKey(const QString& section, const QString& key) {
    change([&] {
        const qsizetype index = indexOf(section);
        const auto isKey = [&key](const Line& line) { return !line.comment && line.key == key; };
        if (index >= 0) m_sections[index].lines.removeIf(isKey);
        return true;
    });
}

void PanelIni::removeSection(const QString& section) {
    change([&] {
        m_sections.removeIf([&section](const Section& each) { return each.name == section; });
        return true;
    });
}

void PanelIni::replaceSection(const QString& section,
                              const QList<QPair<QString, QString>>& entries) {
    change([&] {
        const auto writableKey = [](const QPair<QString, QString>& entry) {
            return isWritableKey(entry.first);
        };
        if (!isWritableName(section) || !std::all_of(entries.begin(), entries.end(), writableKey)) {
            return false;
        }
        QList<Line> lines;
        for (const auto& [key, value] : entries) put(lines, key, fileValue(value));
        // No section is added only to stand empty.
        if (!lines.isEmpty() || indexOf(section) >= 0) sectionNamed(section).lines = lines;
        return true;
    });
}

// Comparing the text keeps a change that changes nothing from touching the
// file, whatever the change was.
void PanelIni::change(const std::function<bool()>& apply) {
    try {
        const QByteArray before = fileText();
        if (!apply()) {
            logWriteFailure();
        } else if (fileText() != before) {
            if (m_batchDepth > 0) {
                m_unwritten = true;
            } else {
                write();
            }
        }
    } catch (...) {
        logWriteFailure();
    }
}

PanelIni::Batch::~Batch() {
    if (--m_ini.m_batchDepth == 0 && m_ini.m_unwritten) {
        m_ini.m_unwritten = false;
        m_ini.write();
    }
}

bool PanelIni::write() {
    try {
        if (!m_unreadable && replaceFile(filePath(), fileText())) return true;
    } catch (...) {
        // as a failed write: the old file stays
    }
    logWriteFailure();
    return false;
}

// A repeated key keeps its first place and takes the last value, so a file
// edited by hand reads as the operator last wrote it.
void PanelIni::put(QList<Line>& lines, const QString& key, const QString& value) {
    for (Line& line : lines) {
        if (!line.comment && line.key == key) {
            line.value = value;
            return;
        }
    }
    lines.append({key, value, false});
}

qsizetype PanelIni::indexOf(const QString& name) const {
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections.at(i).name == name) return i;
    }
    return -1;
}

PanelIni::Section& PanelIni::sectionNamed(const QString& name) {
    const qsizetype index = indexOf(name);
    if (index >= 0) return m_sections[index];
    m_sections.append({name, {}});
    return m_sections.last();
}

QByteArray PanelIni::fileText() const {
    QString text;
    for (const QString& comment : m_leadingComments) text += comment + LineEnd;
    for (const Section& section : m_sections) {
        text += QLatin1Char('[') + section.name + QLatin1Char(']') + LineEnd;
        for (const Line& line : section.lines) {
            text += (line.comment ? line.key : line.key + QLatin1Char('=') + line.value) + LineEnd;
        }
    }
    return text.toUtf8();
}

void PanelIni::logWriteFailure() { m_log.LogError(WriteFailure, FileError); }
