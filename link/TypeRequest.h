// The switcher's type request (0x81): the panel answers with its type, pauses,
// then asks for the name and link tables.
#pragma once

#include <QByteArray>

#include "LinkContext.h"

// The panel's answer: data bytes 10 and 1.
QByteArray TypeReply();

void ProcessTypeRequest(LinkContext& ctx, const QByteArray& message);
