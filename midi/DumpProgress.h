#pragma once
// The progress of a long operation ("Get All", "Send All", and the main window's other long
// commands): a caption, a counter, shown only while the operation runs. The progress window
// implements it; tests record it.

#include <string>

namespace midi {

class DumpProgress {
public:
    virtual ~DumpProgress() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    // Shown and painted before the caller goes on (the window thread may block right after).
    virtual void Show() = 0;
    // Counter target and value at once, shown at once.
    virtual void SetCounter(int value) = 0;
    virtual void Hide() = 0;
    // An operation that can stop between its steps turns this on before Show: Esc and the
    // window's close button then ask it to stop. Off for the dumps, which run to their end.
    virtual void SetCancelable(bool) {}
    // Takes the window's pending input; true once a cancel was asked for since SetCancelable.
    virtual bool CancelRequested() { return false; }
};

// Shows the progress with a caption and the counter at 1 for its lifetime, and hides it on
// every way out, an exception included.
class ShownProgress {
public:
    ShownProgress(DumpProgress& progress, const std::string& caption) : progress_(progress) {
        progress_.SetCaption(caption);
        progress_.SetCounter(1);
        progress_.Show();
    }
    ~ShownProgress() { progress_.Hide(); }
    ShownProgress(const ShownProgress&) = delete;
    ShownProgress& operator=(const ShownProgress&) = delete;

    void SetCounter(int value) { progress_.SetCounter(value); }

private:
    DumpProgress& progress_;
};

}  // namespace midi
