#include "AdvancedGain.h"

void ReceiveAdvancedGain(LinkContext& ctx, const QByteArray& message) {
    // Decoded in a later change; until then the message is dropped.
    (void)ctx;
    (void)message;
}
