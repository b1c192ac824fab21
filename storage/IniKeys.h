// The keys of the settings file and what each does to the panel state when
// its entry is read. Values sit at fixed character positions after the key.
#pragma once

#include <QString>

struct PanelState;

// Stores what entry says, if it names a key; entries naming none are ignored.
// False when the entry cannot be taken (a number out of range, a fader that
// does not exist): the read stops there.
bool applyIniEntry(PanelState& state, const QString& entry);
