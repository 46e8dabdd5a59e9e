#include "platform/WindowSurface.h"

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older headers lack it
#endif
#endif

namespace platform {

void PrepareWindowSurface(QWidget& window) {
#if defined(__linux__)
    window.winId();  // the native window, and with it the backing store
    QBackingStore* store = window.backingStore();
    if (!store) return;
    store->resize(window.size());  // the size the first frame asks for: not made again then
    auto* image = dynamic_cast<QImage*>(store->paintDevice());
    if (!image || image->isNull()) return;
    constexpr std::uintptr_t kPage = 4096;
    const auto first = reinterpret_cast<std::uintptr_t>(image->constBits());
    const std::uintptr_t begin = first & ~(kPage - 1);
    const std::uintptr_t end = (first + std::uintptr_t(image->sizeInBytes()) + kPage - 1) & ~(kPage - 1);
    // Older kernels refuse the advice; the pages are then mapped as they are first written.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)window;
#endif
}

}  // namespace platform
