// Read-out text and stored gain of a fader.
#include "GainReadout.h"

#include <QLocale>

#include "GainCode.h"
#include "PanelState.h"
#include "TableEntry.h"

namespace {

// Up to 7 significant digits, no exponent, no trailing zeros: the form a
// 32-bit float takes when printed for the operator.
QString numberText(float decibels) {
    QString text = QString::number(static_cast<double>(decibels), 'g', 7);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

}  // namespace

QString gainReadoutText(int16_t code) {
    const auto decibels = static_cast<float>(GainCode::decibelsOf(code));
    QString value;
    if (decibels < static_cast<float>(-99.9)) {
        value = QStringLiteral("Off");
    } else if (decibels > 0) {
        value = QStringLiteral("+") + numberText(decibels) + QStringLiteral("db");
    } else {
        value = numberText(decibels) + QStringLiteral("db");
    }
    return QStringLiteral("Gain (") + value + QStringLiteral(")");
}

QString gainDecibelText(int16_t code) {
    if (code <= GainCode::Off) return QStringLiteral("Off");
    const double decibels = GainCode::decibelsOf(code);
    return (decibels > 0 ? QStringLiteral("+") : QString()) + QString::number(decibels, 'f', 1) +
           QStringLiteral(" dB");
}

QString gainStageCaption(int16_t stage) {
    switch (stage) {
        case GainStage::InputTrim:
            return QStringLiteral("Input Trim");
        case GainStage::AnalogOutput:
            return QStringLiteral("Anaolg Output");
        case GainStage::DspOutput:
            return QStringLiteral("DSP Output Level");
        case GainStage::DeviceId:
            return QStringLiteral("Device ID");
        default:
            return QString::number(stage);
    }
}

int16_t storedGain(const PanelState& state, int fader) {
    const int16_t channel = entryAt(state.Chan, fader);
    switch (state.GainStage) {
        case GainStage::DspOutput:
            return entryAt(state.OutputGains, channel).DspOutput;
        case GainStage::AnalogOutput:
            return entryAt(state.OutputGains, channel).FinalOutput;
        case GainStage::InputTrim:
            return entryAt(state.InputGains, channel).InputSensitivity;
        default:
            return 0;
    }
}
