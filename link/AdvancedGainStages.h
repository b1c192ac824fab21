// What the advanced gain message does with each gain stage code: the name its
// log entries carry, whether its channel is checked, and which gain field of
// the panel's tables it fills.
#pragma once

#include <QString>
#include <cstdint>

enum class AdvancedGainField { None, InputSensitivity, DspOutput, FinalOutput };

struct AdvancedGainStage {
    QString name;  // empty for stages the panel has no name for
    bool checksChannel = false;
    AdvancedGainField field = AdvancedGainField::None;
};

AdvancedGainStage advancedGainStageOf(uint8_t stage);
