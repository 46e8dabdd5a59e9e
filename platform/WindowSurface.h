#pragma once
// A top-level window's drawing memory, made ready before its first frame: the native window and
// its backing store are made at the window's size, and the backing store's pages are mapped in
// one call instead of one page fault per 4 KiB while the first frame fills them (on a virtual
// machine each fault costs several microseconds; a 930 x 760 window has about 700 pages).
// Linux only; elsewhere the window is left as it is.

class QWidget;

namespace platform {

// Call before the window is first shown; the window must not change its size afterwards.
void PrepareWindowSurface(QWidget& window);

}  // namespace platform
