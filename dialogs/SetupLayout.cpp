// Turns the dialog's twips geometry into pixels.
#include "SetupLayout.h"

#include <QWidget>

#include "PanelLook.h"

namespace SetupLayout {

void place(QWidget* widget, const TwipsRect& rect) {
    placeInTwips(widget, rect.left, rect.top, rect.width, rect.height);
}

}  // namespace SetupLayout
