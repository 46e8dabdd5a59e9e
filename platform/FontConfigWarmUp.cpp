#include "platform/FontConfigWarmUp.h"

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace platform {

FontConfigWarmUp::FontConfigWarmUp() {
#if defined(__linux__)
    // Found in the process when the window system's font support uses fontconfig (Qt's does
    // on Linux); the program itself does not link it. FcInit is safe to call from any thread
    // and again later.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        reader_ = std::thread([init] { init(); });
#endif
}

FontConfigWarmUp::~FontConfigWarmUp() {
    if (reader_.joinable()) reader_.join();
}

}  // namespace platform
