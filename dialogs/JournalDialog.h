// Edit > Operator journal: the journal's lines, newest first, for reading
// back what was done at the desk. The dialog only reads the journal; the
// panel keeps writing it meanwhile, so while shown the dialog follows the
// file, through its rotation too. Hidden, it watches and reads nothing.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>

class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class JournalDialog : public QDialog {
    Q_OBJECT
public:
    // journalPath: the journal file; its older generation is the same name
    // with ".log" replaced by ".old.log" beside it.
    explicit JournalDialog(QString journalPath, QWidget* parent = nullptr);
    // Reads the files again now (the dialog also does this by itself while shown).
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // One generation of the journal as last read, told apart from the file
    // on disk by its size and time: unchanged files are not read again.
    struct Generation {
        QString path;
        bool read = false;
        qint64 size = -1;
        QDateTime modified;
        QStringList lines;  // newest first
    };

    void createControls();
    void startFollowing();
    void stopFollowing();
    void watchFiles();
    void followFiles();
    void readChanged();
    void applyFilter(bool keepView);
    void showLines(const QStringList& lines, bool keepView);
    void prependLines(const QStringList& lines, qsizetype added);
    void showNote(qsizetype matching, qsizetype shown);

    // Current file first, then the older one.
    std::array<Generation, 2> m_generations;
    QStringList m_shown;

    QLineEdit* m_txtFilter = nullptr;
    QPlainTextEdit* m_lstJournal = nullptr;
    QLabel* m_lblNote = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QTimer* m_tmrFollow = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
};
