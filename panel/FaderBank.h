// The row of fader strips in the main window: adding and removing strips to
// match FaderCount, and labelling them from the switcher's tables.
#pragma once

#include <QWidget>
#include <vector>

class ErrorSink;
class FaderStrip;
struct PanelState;

class FaderBank : public QWidget {
    Q_OBJECT
public:
    FaderBank(PanelState& state, ErrorSink& log, QWidget* parent = nullptr);

    int stripCount() const { return static_cast<int>(m_strips.size()); }
    // Throws std::out_of_range for a strip that does not exist.
    FaderStrip& strip(int i) const;

    // Adds strips up to FaderCount, side by side.
    void LoadFaders();
    // Removes strips down to FaderCount; strip 0 always stays.
    void UnloadFaders();
    // Channel label and Stereo box of every fader, by gain stage.
    void LabelFaders();

    void moveFirstStrip(int leftTwips);
    // Stereo boxes from Link. Throws when a fader has no strip or no entry.
    void setStereoFromLink();
    // Stereo boxes into Link (0 or 1), for the faders that have both.
    void storeStereoIntoLink();

Q_SIGNALS:
    // The window's outer width that fits the bank, in twips.
    void outerWidthWanted(int twips);
    // Strip i now exists (strip 0 from the start, the others as LoadFaders
    // makes them), for whoever acts on its moves.
    void stripAdded(int i, FaderStrip* strip);

private:
    void addStrip(int i);
    void removeStrip(int i);
    void labelFader(int i);
    void wantWidthForLastStrip();

    PanelState& m_state;
    ErrorSink& m_log;
    std::vector<FaderStrip*> m_strips;  // owned as child widgets
};
