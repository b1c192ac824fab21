#include "AdvancedGainStages.h"

AdvancedGainStage advancedGainStageOf(uint8_t stage) {
    using Field = AdvancedGainField;
    switch (stage) {
        case 0:
            return {QStringLiteral("Input Trim Gain"), true, Field::None};
        case 1:
            return {QStringLiteral("Input Sensitivity"), true, Field::InputSensitivity};
        case 2:
            return {QStringLiteral("Master Output Gain"), true, Field::DspOutput};
        case 3:
            return {QStringLiteral("Final Output Gain"), false, Field::FinalOutput};
        case 10:
        case 11:
        case 12:
        case 13:
            return {QStringLiteral("DSP Mix Gain"), true, Field::None};
        case 15:
        case 16:
            return {QStringLiteral("DSP Output Gain"), true, Field::DspOutput};
        default:
            return {};
    }
}
