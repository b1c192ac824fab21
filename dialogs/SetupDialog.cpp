#include "SetupDialog.h"

SetupDialog::SetupDialog(PanelState& state, SwitcherLinkPort& link, ErrorSink& log,
                         SetupActions actions, QWidget* parent)
    : QDialog(parent), state_(state), link_(link), log_(log), actions_(std::move(actions)) {
    setWindowTitle(QStringLiteral("Setup"));
}
