#pragma once
// A port-less JACK client of our own, next to RtMidi's: tells whether the server is still up
// (RtMidi's JACK output can spin forever once its buffer fills with no server), the period
// size (to pace long messages) and whether a port is a physical one.

#include <atomic>
#include <memory>
#include <string>

typedef struct _jack_client jack_client_t;

namespace midi {

class JackSession {
public:
    // nullptr when no JACK server runs; never starts one and prints nothing.
    static std::shared_ptr<JackSession> Connect(const std::string& clientName);
    ~JackSession();
    JackSession(const JackSession&) = delete;
    JackSession& operator=(const JackSession&) = delete;

    bool Alive() const { return alive_.load(std::memory_order_acquire); }
    // Length of one processing cycle in seconds.
    double PeriodSeconds() const;
    bool IsPhysicalPort(const std::string& fullName) const;

    // Keeps libjack's own messages off stderr (process-wide).
    static void SilenceLibraryMessages();

private:
    explicit JackSession(jack_client_t* client);
    static void OnShutdown(void* self);
    static int OnBufferSize(unsigned frames, void* self);

    jack_client_t* client_;
    std::atomic<bool> alive_{true};
    std::atomic<unsigned> periodFrames_{1024};
    unsigned sampleRate_ = 48000;
};

}  // namespace midi
