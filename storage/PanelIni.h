// "Panel.ini" beside "Slider.ini": the settings of what the panel does beyond
// what it always did. "Slider.ini" stays byte for byte as operators know it,
// so every newer feature keeps its own section here instead.
//
// Several features share the file and each knows only its own sections, so
// everything read is written back in its order, unknown sections, keys and
// comments included. A damaged line is dropped rather than stopping the
// read: one feature's bad entry must not cost the others their settings.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class ErrorSink;

class PanelIni {
public:
    // folder ends in a separator; the file is folder + "Panel.ini".
    PanelIni(QString folder, ErrorSink& log);

    QString filePath() const;

    // Replaces what is held with the file; no file reads as an empty one. A
    // file that is damaged, unreadable or too large is logged once.
    void read();

    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // Each change is written at once, and only when something changed. The
    // value is held as the file will give it back: line breaks become
    // spaces, and surrounding blanks go. A name the file could not give back
    // (empty, blanks around it, a line break, '=' or a leading ';', '#' or
    // '[' in a key) changes nothing and is logged as a failed write.
    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);
    // The section then holds exactly these entries, its comments gone; it
    // keeps its place, or a new one goes at the end.
    void replaceSection(const QString& section, const QList<QPair<QString, QString>>& entries);

    // Replaces the file whole, or leaves the old one as it was and logs. A
    // file that is there but could not be read is never replaced: what it
    // holds is not known, and may be every other feature's settings.
    bool write();

    // Changes made while a Batch lives are written once, when it ends.
    class Batch {
    public:
        explicit Batch(PanelIni& ini) : m_ini(ini) { ++m_ini.m_batchDepth; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        PanelIni& m_ini;
    };

private:
    struct Line {
        QString key;  // a comment's whole text when comment is set
        QString value;
        bool comment = false;
    };
    struct Section {
        QString name;
        QList<Line> lines;
    };

    bool parse(const QString& text);
    // Applies a change, then writes the file if what is held changed; a
    // change that returns false was refused and is logged.
    void change(const std::function<bool()>& apply);
    static void put(QList<Line>& lines, const QString& key, const QString& value);
    qsizetype indexOf(const QString& name) const;
    // The section of that name, added at the end when missing.
    Section& sectionNamed(const QString& name);
    QByteArray fileText() const;
    void logWriteFailure();

    QString m_folder;
    ErrorSink& m_log;
    bool m_unreadable = false;  // the file is there but could not be read
    int m_batchDepth = 0;
    bool m_unwritten = false;       // a change in a batch waits for its end
    QStringList m_leadingComments;  // the comments above the first section
    QList<Section> m_sections;
};
