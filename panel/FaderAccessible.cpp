#include "FaderAccessible.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <cmath>

#include "FaderSlider.h"
#include "GainCode.h"

namespace {

// The position is the gain code negated.
constexpr double CodeOfZeroDb = GainCode::ZeroDb;
constexpr double CodesPerDb = GainCode::StepsPerDecibel;

double decibelsAt(int position) { return GainCode::decibelsOf(-position); }

int positionFor(double decibels) {
    return -static_cast<int>(std::lround(decibels * CodesPerDb + CodeOfZeroDb));
}

class FaderSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit FaderSliderAccessible(FaderSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return slider()->readoutText();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return decibelsAt(slider()->value()); }
    QVariant minimumValue() const override { return decibelsAt(FaderSlider::BottomPosition); }
    QVariant maximumValue() const override { return decibelsAt(FaderSlider::TopPosition); }
    QVariant minimumStepSize() const override { return 1.0 / CodesPerDb; }

    // Goes through the slider's own move, so the switcher hears of it as of
    // any move the operator makes.
    void setCurrentValue(const QVariant& value) override {
        bool isNumber = false;
        const double decibels = value.toDouble(&isNumber);
        if (!isNumber || !std::isfinite(decibels)) return;
        slider()->setFromScreenReader(positionFor(decibels));
    }

private:
    FaderSlider* slider() const { return static_cast<FaderSlider*>(widget()); }
};

QAccessibleInterface* faderAccessibleFactory(const QString& key, QObject* object) {
    if (key != QLatin1String(FaderSlider::staticMetaObject.className())) return nullptr;
    auto* slider = qobject_cast<FaderSlider*>(object);
    return slider ? new FaderSliderAccessible(slider) : nullptr;
}

}  // namespace

void installFaderAccessibility() {
    // Qt keeps the factories for the whole process; one entry is enough.
    static const bool installed = [] {
        QAccessible::installFactory(faderAccessibleFactory);
        return true;
    }();
    (void)installed;
}
