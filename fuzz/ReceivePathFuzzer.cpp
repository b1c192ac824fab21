// The receive path fed an arbitrary byte stream in arbitrary pieces, worked
// off through every decoder over one panel state, invariants checked all the
// way (ReceiveHarness.h, DecoderWatch.h).
#include <cstddef>
#include <cstdint>

#include "ReceiveHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReceiveHarness harness;
    for (const QByteArray& piece : piecesOf(data, size)) harness.receive(piece);
    return 0;
}
