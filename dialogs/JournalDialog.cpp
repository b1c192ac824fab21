// The journal viewer: reading the two generations, filtering, and following
// the files while the dialog is shown.
#include "JournalDialog.h"

#include <QBoxLayout>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "PanelLook.h"

namespace {

// A damaged or runaway file must not eat memory: only its end is read.
constexpr qint64 MaxReadBytes = qint64(4) * 1024 * 1024;
// The operator reads the latest lines; laying out every line of two full
// files at each change would stall the panel.
constexpr qsizetype MaxShownLines = 5000;
// A journal line is short. A longer one is damage, and a single very long
// line takes as long to lay out as thousands of short ones.
constexpr qsizetype MaxLineChars = 1000;
// Catches what the watcher misses (a folder it cannot watch, a file system
// that reports nothing) at the cost of two file lookups a second.
constexpr int FollowMilliseconds = 1000;

QString olderGeneration(const QString& path) {
    const QString suffix = QStringLiteral(".log");
    return path.endsWith(suffix) ? path.chopped(suffix.size()) + QStringLiteral(".old.log")
                                 : path + QStringLiteral(".old");
}

// The whole lines among the file's last MaxReadBytes, newest first; nothing
// for a file that cannot be read.
QStringList readNewestFirst(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const qint64 start = std::max<qint64>(0, file.size() - MaxReadBytes);
    // One byte early, so that a start just after a line end costs no line.
    const qint64 from = std::max<qint64>(0, start - 1);
    if (!file.seek(from)) return {};
    QByteArray bytes = file.read(MaxReadBytes + start - from);
    if (start > 0) {
        // Without a line end the whole read is one damaged line.
        const qsizetype end = bytes.indexOf('\n');
        bytes.remove(0, end < 0 ? bytes.size() : end + 1);
    }

    const QString text = QString::fromUtf8(bytes);
    QStringList lines;
    const QList<QStringView> parts = QStringView(text).split(u'\n', Qt::SkipEmptyParts);
    lines.reserve(parts.size());
    for (auto part = parts.crbegin(); part != parts.crend(); ++part) {
        const QStringView line = part->endsWith(u'\r') ? part->chopped(1) : *part;
        if (!line.isEmpty()) lines.append(line.left(MaxLineChars).toString());
    }
    return lines;
}

// How many lines were put in front of `before` to make `after`, its oldest
// lines perhaps dropped; -1 when `after` is anything else.
qsizetype linesAddedOnTop(const QStringList& before, const QStringList& after) {
    if (before.isEmpty()) return -1;
    const qsizetype added = after.indexOf(before.first());
    if (added < 0 || after.size() - added > before.size()) return -1;
    return std::equal(after.cbegin() + added, after.cend(), before.cbegin()) ? added : -1;
}

}  // namespace

JournalDialog::JournalDialog(QString journalPath, QWidget* parent) : QDialog(parent) {
    m_generations[1].path = olderGeneration(journalPath);
    m_generations[0].path = std::move(journalPath);
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(QStringLiteral("Operator Journal"));
    setFont(panelFont(12));
    setSizeGripEnabled(true);
    createControls();
    resize(720, 420);

    connect(m_txtFilter, &QLineEdit::textChanged, this, [this] { applyFilter(false); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tmrFollow, &QTimer::timeout, this, &JournalDialog::followFiles);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &JournalDialog::followFiles);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &JournalDialog::followFiles);
}

void JournalDialog::createControls() {
    m_txtFilter = new QLineEdit(this);
    m_txtFilter->setObjectName(QStringLiteral("txtFilter"));
    m_txtFilter->setPlaceholderText(QStringLiteral("Filter"));
    m_txtFilter->setAccessibleName(QStringLiteral("Filter"));
    m_txtFilter->setClearButtonEnabled(true);

    // One document rather than a widget item per line: it lays out only what
    // is seen, and the operator can select any part of it to copy.
    m_lstJournal = new QPlainTextEdit(this);
    m_lstJournal->setObjectName(QStringLiteral("lstJournal"));
    m_lstJournal->setAccessibleName(QStringLiteral("Operator journal"));
    m_lstJournal->setReadOnly(true);
    // The lines arrive all day; an undo history of them would only grow.
    m_lstJournal->setUndoRedoEnabled(false);
    m_lstJournal->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The journal's columns line up only in a fixed-pitch font.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(font().pixelSize());
    m_lstJournal->setFont(fixed);

    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // Enter typed in the filter box must not close the dialog.
    m_cmdClose->setAutoDefault(false);

    m_tmrFollow = new QTimer(this);
    m_tmrFollow->setObjectName(QStringLiteral("tmrFollow"));
    m_tmrFollow->setInterval(FollowMilliseconds);
    m_watcher = new QFileSystemWatcher(this);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_lblNote, 1);
    bottom->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtFilter);
    layout->addWidget(m_lstJournal, 1);
    layout->addLayout(bottom);
}

void JournalDialog::refresh() {
    for (Generation& generation : m_generations) generation.read = false;
    readChanged();
}

void JournalDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    startFollowing();
}

void JournalDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    stopFollowing();
}

void JournalDialog::startFollowing() {
    watchFiles();
    m_tmrFollow->start();
    readChanged();
}

// Closed, the dialog costs nothing: no timer, no watch, and no copy of the
// files; what it shows stays, so that reopening it does not move the view.
void JournalDialog::stopFollowing() {
    m_tmrFollow->stop();
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty()) m_watcher->removePaths(watched);
    for (Generation& generation : m_generations) {
        generation.read = false;
        generation.lines = QStringList();
    }
}

// Rotation moves the watched file away and the watch goes with it; the
// folder's watch tells of the new file, which is then watched in its turn.
void JournalDialog::watchFiles() {
    const QString& file = m_generations[0].path;
    const QString folder = QFileInfo(file).absolutePath();
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    if (!m_watcher->files().contains(file) && QFileInfo(file).isFile()) m_watcher->addPath(file);
}

void JournalDialog::followFiles() {
    // A change may still be queued when the dialog closes.
    if (!isVisible()) return;
    watchFiles();
    readChanged();
}

void JournalDialog::readChanged() {
    bool changed = false;
    for (Generation& generation : m_generations) {
        // Looked at before reading: a line added meanwhile is read next time.
        const QFileInfo info(generation.path);
        const qint64 size = info.exists() ? info.size() : -1;
        const QDateTime modified = info.lastModified();
        if (generation.read && size == generation.size && modified == generation.modified) continue;
        generation.read = true;
        generation.size = size;
        generation.modified = modified;
        generation.lines = size < 0 ? QStringList() : readNewestFirst(generation.path);
        changed = true;
    }
    if (changed) applyFilter(true);
}

void JournalDialog::applyFilter(bool keepView) {
    const QString filter = m_txtFilter->text();
    QStringList shown;
    qsizetype matching = 0;
    for (const Generation& generation : m_generations) {
        for (const QString& line : generation.lines) {
            if (!line.contains(filter, Qt::CaseInsensitive)) continue;
            if (shown.size() < MaxShownLines) shown.append(line);
            ++matching;
        }
    }
    showLines(shown, keepView);
    showNote(matching, shown.size());
}

// New lines go in above the others, so that the operator's selection and
// the line in view stay where they are; anything else is shown afresh.
void JournalDialog::showLines(const QStringList& lines, bool keepView) {
    const qsizetype added = keepView ? linesAddedOnTop(m_shown, lines) : -1;
    if (added >= 0) {
        prependLines(lines, added);
    } else {
        QScrollBar* bar = m_lstJournal->verticalScrollBar();
        const int top = keepView ? bar->value() : 0;
        m_lstJournal->setPlainText(lines.join(u'\n'));
        bar->setValue(top);
    }
    m_shown = lines;
}

void JournalDialog::prependLines(const QStringList& lines, qsizetype added) {
    const qsizetype kept = lines.size() - added;
    if (added == 0 && kept == m_shown.size()) return;
    QScrollBar* bar = m_lstJournal->verticalScrollBar();
    const int top = bar->value();
    QTextDocument* document = m_lstJournal->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (kept < m_shown.size()) {
        cursor.setPosition(document->findBlockByNumber(int(kept)).position() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    if (added > 0) {
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(lines.mid(0, added).join(u'\n') + u'\n');
    }
    cursor.endEditBlock();
    // At the top the operator is watching the newest lines come in.
    bar->setValue(top > 0 ? top + int(added) : 0);
}

void JournalDialog::showNote(qsizetype matching, qsizetype shown) {
    QString note;
    if (m_generations[0].lines.isEmpty() && m_generations[1].lines.isEmpty()) {
        note = QStringLiteral("No journal yet");
    } else if (matching == 0) {
        note = QStringLiteral("No line contains the filter's text");
    } else if (shown < matching) {
        note = QStringLiteral("Showing the latest %1 of %2 %3")
                   .arg(shown)
                   .arg(matching)
                   .arg(m_txtFilter->text().isEmpty() ? QStringLiteral("lines")
                                                      : QStringLiteral("matching lines"));
    }
    m_lblNote->setText(note);
}
