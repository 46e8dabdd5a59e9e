#pragma once
// The system's font configuration, read on a helper thread while the application object is
// being made. Where fonts are found through fontconfig, its first use reads the configuration
// and the font caches (several milliseconds) on whatever thread draws the first text; started
// here, that is done by the time the first window has text to lay out. Elsewhere it does
// nothing.

#include <thread>

namespace platform {

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();  // waits for the helper thread
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

private:
    std::thread reader_;
};

}  // namespace platform
