// Turns the dialog's twips geometry into pixels.
#include "SetupLayout.h"

#include <QWidget>

#include "Twips.h"

namespace SetupLayout {

void Place(QWidget* widget, const TwipsRect& rect) {
    widget->setGeometry(Twips(rect.left), Twips(rect.top), Twips(rect.width), Twips(rect.height));
}

}  // namespace SetupLayout
