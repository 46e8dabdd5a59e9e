#pragma once
// Sends the process's stderr to /dev/null for the lifetime of the object: MIDI libraries print
// warnings from places no callback reaches (constructors, the sound library itself).

namespace midi {

class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

}  // namespace midi
