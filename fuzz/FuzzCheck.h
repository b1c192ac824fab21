// How the fuzz targets report a broken invariant: say which one on stderr and
// abort, so libFuzzer keeps the input that broke it as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
