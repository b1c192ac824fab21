// Raw hex dumps of the bytes exchanged with the switcher. Off by default; turn
// on with the logging rule "panel.link.bytes.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLinkBytes)
