// The setup dialog's channel rows: a caption and an entry box per fader.
// Row 1 is always there; later rows are made and destroyed as the operator
// changes the count, and take their values from the channels the dialog
// opened with, never from what was typed into a row before it went away.
#pragma once

#include <cstdint>
#include <vector>

class EntryBox;
class QLabel;
class QWidget;

class ChannelRows {
public:
    // The gain stage decides the captions and texts of the rows made later;
    // ChanCopy holds the channels as the dialog found them.
    ChannelRows(QWidget* dialog, int16_t gainStage, std::vector<int16_t> chanCopy);

    int16_t labelCount() const { return static_cast<int16_t>(m_rows.size()); }

    // Both throw std::out_of_range for a row that does not exist.
    EntryBox* box(int row) const;
    QLabel* label(int row) const;

    // Adds rows until there are count; fewer wanted than present adds none.
    // Throws std::out_of_range for a count outside 1..20.
    void addRows(int16_t count);
    // Destroys the rows beyond count, the last one first.
    void removeRows(int16_t count);

private:
    struct Row {
        QLabel* label;
        EntryBox* box;
    };

    void createRow(int index);

    QWidget* m_dialog;
    int16_t m_gainStage;
    std::vector<int16_t> m_chanCopy;  // ChanCopy: the channels the dialog opened with
    std::vector<Row> m_rows;
};
