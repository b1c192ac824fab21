#include "LinkLog.h"

Q_LOGGING_CATEGORY(lcLinkBytes, "panel.link.bytes", QtInfoMsg)
