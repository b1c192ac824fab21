// Reading the font configuration is the longest single step of the panel's
// start-up, and Qt takes it only when the window first measures a word. Begun
// on another core as the program starts, it runs while Qt loads its platform,
// and the window then finds the configuration read.
#pragma once

#include <thread>

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Call before the first text is measured: should the window get there
    // first, it would read the whole configuration a second time itself.
    void wait();

private:
    std::thread m_reader;
};
