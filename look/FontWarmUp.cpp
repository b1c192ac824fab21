#include "FontWarmUp.h"

#include <system_error>

#ifdef PANEL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

namespace {

// The scheduler tends to place a new thread on its creator's core, where it
// waits until the creator blocks, which at start-up is too late to help.
void keepOffThisCore(std::thread& thread) {
#ifdef __linux__
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int here = sched_getcpu();
    if (here < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    CPU_CLR(here, &allowed);
    if (CPU_COUNT(&allowed) > 0) {
        pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
    }
#else
    (void)thread;
#endif
}

}  // namespace

FontWarmUp::FontWarmUp() {
#ifdef PANEL_HAVE_FONTCONFIG
    if (std::thread::hardware_concurrency() < 2) return;  // nothing to overlap with
    try {
        m_reader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        return;  // Qt reads the configuration itself, as it would anyway
    }
    keepOffThisCore(m_reader);
#endif
}

FontWarmUp::~FontWarmUp() { wait(); }

void FontWarmUp::wait() {
    if (m_reader.joinable()) m_reader.join();
}
