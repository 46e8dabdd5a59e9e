#pragma once
// The program's one JACK client. It holds our MIDI ports under stable names ("<client>:in",
// "<client>:out"; "in-2", "out-2", ... only while more than one stream of a direction is open),
// so connections made in a patchbay or session manager find them again after a reopen. Opening
// a stream connects one of our ports to the chosen port of another program; closing it
// disconnects it again, the port itself stays for the life of the client.
//
// libjack crashes when a client whose server went away is closed after any other client was
// opened: the owner closes a dead session (Close) before it connects a new one, and nothing
// calls into a session once its server is gone (the shutdown callback marks it at once).

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;

namespace midi {

class JackSession : public std::enable_shared_from_this<JackSession> {
public:
    // nullptr when no JACK server runs; never starts one and prints nothing. The server may give
    // the client another name when the name is taken (another instance of the program).
    static std::shared_ptr<JackSession> Connect(const std::string& clientName);
    ~JackSession();
    JackSession(const JackSession&) = delete;
    JackSession& operator=(const JackSession&) = delete;

    // False once the server shut down or the session was closed.
    bool Alive() const { return alive_.load(std::memory_order_acquire); }
    // Closes the client (once; also when its server is gone). Streams opened on it stay safe to
    // use and destroy: their sends fail, they receive nothing.
    void Close();

    // Length of one processing cycle in seconds.
    double PeriodSeconds() const;
    bool IsPhysicalPort(const std::string& fullName) const;
    // Other programs' MIDI ports, full names "client:port": those we can receive from
    // (sources) or send to. Our own ports are left out, recognised by their exact names.
    std::vector<std::string> Ports(bool sources) const;

    // nullptr when the port is not there (any more) or cannot be connected.
    std::unique_ptr<InputStream> OpenInput(const std::string& source, InputHandler& handler);
    std::unique_ptr<OutputStream> OpenOutput(const std::string& destination);
    // Plays `renderer` through our audio ports "<client>:out_1" and "out_2" (made at the first
    // call and kept, so connections made elsewhere stay), connected to the system's playback
    // ports where there are any. nullptr when the ports cannot be made or one plays already.
    std::unique_ptr<AudioStream> OpenAudio(AudioRenderer& renderer);

    // Keeps libjack's own messages off stderr (process-wide).
    static void SilenceLibraryMessages();

    // Up to this many streams of each direction at once.
    static constexpr std::size_t kSlots = 4;
    struct InSlot;
    struct OutSlot;

private:
    explicit JackSession(jack_client_t* client);
    static void OnShutdown(void* self);
    static int OnBufferSize(unsigned frames, void* self);
    static int OnProcess(unsigned frames, void* self);
    void Process(unsigned frames);
    // A free slot with its port registered, or nullptr.
    InSlot* TakeInSlot();
    OutSlot* TakeOutSlot();
    friend class JackInputStream;
    friend class JackOutputStream;
    friend class JackAudioStream;
    void ReleaseAudio();
    void ReleaseIn(InSlot& slot);
    void ReleaseOut(OutSlot& slot);
    // Connects port `from` to port `to`; `made` names `other` when this call made the connection.
    bool Connect(const std::string& from, const std::string& to, std::string& made,
                 const std::string& other);

    jack_client_t* client_;
    std::atomic<bool> alive_{true};
    std::atomic<bool> processing_{false};
    std::atomic<unsigned> periodFrames_{1024};
    unsigned sampleRate_ = 48000;
    // Published to the processing thread once complete; freed only after the client is closed.
    std::array<std::atomic<InSlot*>, kSlots> ins_{};
    std::array<std::atomic<OutSlot*>, kSlots> outs_{};
    std::array<std::atomic<jack_port_t*>, 2> audioPorts_{};
    std::atomic<AudioRenderer*> renderer_{nullptr};
};

}  // namespace midi
