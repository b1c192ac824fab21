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

    int StripCount() const { return static_cast<int>(strips_.size()); }
    // Throws std::out_of_range for a strip that does not exist.
    FaderStrip& Strip(int i) const;

    // Adds strips up to FaderCount, side by side.
    void LoadFaders();
    // Removes strips down to FaderCount; strip 0 always stays.
    void UnloadFaders();
    // Channel label and Stereo box of every fader, by gain stage.
    void LabelFaders();

    void MoveFirstStrip(int leftTwips);
    // Stereo boxes from Link. Throws when a fader has no strip or no entry.
    void SetStereoFromLink();
    // Stereo boxes into Link (0 or 1), for the faders that have both.
    void StoreStereoIntoLink();

Q_SIGNALS:
    // The window's outer width that fits the bank, in twips.
    void OuterWidthWanted(int twips);
    // Strip i now exists (strip 0 from the start, the others as LoadFaders
    // makes them), for whoever acts on its moves.
    void StripAdded(int i, FaderStrip* strip);

private:
    void AddStrip(int i);
    void RemoveStrip(int i);
    void LabelFader(int i);
    void WantWidthForLastStrip();

    PanelState& state_;
    ErrorSink& log_;
    std::vector<FaderStrip*> strips_;  // owned as child widgets
};
