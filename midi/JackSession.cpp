#include "midi/JackSession.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include "midi/RtMidiBackend.h"
#include "midi/SendPacer.h"

namespace midi {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Per period: well under the 32 KiB cycle buffer, so a hardware interface behind the server
// (a bridge to a 3125-byte/s wire) is not flooded by a bank dump per cycle.
constexpr double kBytesPerPeriod = 6144;
constexpr std::size_t kBurst = 4104;
// Room for several bank dumps queued between two processing cycles.
constexpr std::size_t kRingBytes = 65536;
// A send waits this long for room in the queue before it reports failure (a stalled server).
constexpr auto kSendPatience = 2s;
// Closing an output lets what was queued go out first, for at most this long.
constexpr auto kDrainPatience = 1s;

void Discard(const char*) {}

std::string Numbered(const char* base, std::size_t slot) {
    return slot == 0 ? std::string(base) : std::string(base) + "-" + std::to_string(slot + 1);
}

}  // namespace

class JackInputStream;

struct JackSession::InSlot {
    jack_port_t* port = nullptr;
    std::atomic<JackInputStream*> stream{nullptr};
    bool taken = false;          // window thread only
    std::string connectedTo;     // what we connected, so that closing undoes only that
};

struct JackSession::OutSlot {
    jack_port_t* port = nullptr;
    jack_ringbuffer_t* ring = nullptr;
    std::atomic<bool> active{false};  // inactive: the processing thread discards what is queued
    bool taken = false;
    std::string connectedTo;
};

// Delivers what the processing thread reads from our input port.
class JackInputStream final : public InputStream {
public:
    JackInputStream(std::shared_ptr<JackSession> session, JackSession::InSlot& slot,
                    InputHandler& handler)
        : session_(std::move(session)), slot_(slot), handler_(handler) {}
    ~JackInputStream() override { session_->ReleaseIn(slot_); }

    void Start() override {
        startNs_.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
        started_.store(true, std::memory_order_release);
    }

    void Deliver(const std::uint8_t* data, std::size_t size) {
        if (!started_.load(std::memory_order_acquire) || size == 0) return;
        const auto elapsed = Clock::now().time_since_epoch().count() -
                             startNs_.load(std::memory_order_relaxed);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::duration(elapsed));
        handler_.OnMidiData(std::span(data, size), static_cast<std::uint32_t>(ms.count()));
    }

private:
    std::shared_ptr<JackSession> session_;
    JackSession::InSlot& slot_;
    InputHandler& handler_;
    std::atomic<bool> started_{false};
    std::atomic<Clock::rep> startNs_{0};
};

// Queues whole messages (length, then bytes) for the processing thread, which writes as many
// as fit into each cycle's port buffer and keeps the rest for the next one: nothing is dropped
// and a send never spins on a server that is gone.
class JackOutputStream final : public OutputStream {
public:
    JackOutputStream(std::shared_ptr<JackSession> session, JackSession::OutSlot& slot)
        : session_(std::move(session)), slot_(slot),
          pacer_(kBytesPerPeriod / session_->PeriodSeconds(), kBurst) {}
    ~JackOutputStream() override {
        const auto deadline = Clock::now() + kDrainPatience;
        while (session_->Alive() && jack_ringbuffer_read_space(slot_.ring) > 0 && Clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        session_->ReleaseOut(slot_);
    }

    bool Send(std::span<const std::uint8_t> bytes) override {
        const std::size_t piece = SendPieceSize(MidiSystem::kJack, bytes.size());
        for (std::size_t offset = 0; offset < bytes.size(); offset += piece) {
            const std::size_t length = std::min(piece, bytes.size() - offset);
            if (!session_->Alive()) return false;
            pacer_.SetBytesPerSecond(kBytesPerPeriod / session_->PeriodSeconds());
            pacer_.Wait(length);
            if (!Queue(bytes.data() + offset, length)) return false;
        }
        return true;
    }

private:
    bool Queue(const std::uint8_t* data, std::size_t length) {
        const std::uint32_t header = static_cast<std::uint32_t>(length);
        const std::size_t need = sizeof header + length;
        if (need >= kRingBytes) return false;
        const auto deadline = Clock::now() + kSendPatience;
        while (jack_ringbuffer_write_space(slot_.ring) < need) {
            if (!session_->Alive() || Clock::now() > deadline) return false;
            std::this_thread::sleep_for(1ms);
        }
        jack_ringbuffer_write(slot_.ring, reinterpret_cast<const char*>(&header), sizeof header);
        jack_ringbuffer_write(slot_.ring, reinterpret_cast<const char*>(data), length);
        return true;
    }

    std::shared_ptr<JackSession> session_;
    JackSession::OutSlot& slot_;
    SendPacer pacer_;
};

class JackAudioStream final : public AudioStream {
public:
    explicit JackAudioStream(std::shared_ptr<JackSession> session) : session_(std::move(session)) {}
    ~JackAudioStream() override { session_->ReleaseAudio(); }
    std::string Description() const override {
        const jack_port_t* left = session_->audioPorts_[0].load();
        return std::string("JACK (") + (left ? jack_port_name(left) : "") + ", out_2)";
    }

private:
    std::shared_ptr<JackSession> session_;
};

void JackSession::SilenceLibraryMessages() {
    jack_set_error_function(Discard);
    jack_set_info_function(Discard);
}

std::shared_ptr<JackSession> JackSession::Connect(const std::string& clientName) {
    SilenceLibraryMessages();
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client) return nullptr;
    std::shared_ptr<JackSession> session(new JackSession(client));
    jack_on_shutdown(client, &JackSession::OnShutdown, session.get());
    jack_set_buffer_size_callback(client, &JackSession::OnBufferSize, session.get());
    jack_set_process_callback(client, &JackSession::OnProcess, session.get());
    if (jack_activate(client) != 0) {
        session->alive_.store(false);
        session->Close();
        return nullptr;
    }
    return session;
}

JackSession::JackSession(jack_client_t* client) : client_(client) {
    periodFrames_ = jack_get_buffer_size(client);
    sampleRate_ = jack_get_sample_rate(client);
    if (sampleRate_ == 0) sampleRate_ = 48000;
}

JackSession::~JackSession() {
    Close();
    for (auto& slot : ins_) delete slot.load();
    for (auto& slot : outs_) {
        OutSlot* out = slot.load();
        if (out && out->ring) jack_ringbuffer_free(out->ring);
        delete out;
    }
}

void JackSession::Close() {
    if (!client_) return;
    // A dead server's client is closed without deactivating it: there is nobody to ask.
    if (alive_.exchange(false)) jack_deactivate(client_);
    jack_client_close(client_);
    client_ = nullptr;
}

void JackSession::OnShutdown(void* self) {
    // Only the flag: libjack allows no calls from here, the owner closes the client later.
    static_cast<JackSession*>(self)->alive_.store(false, std::memory_order_release);
}

int JackSession::OnBufferSize(unsigned frames, void* self) {
    static_cast<JackSession*>(self)->periodFrames_.store(frames, std::memory_order_release);
    return 0;
}

int JackSession::OnProcess(unsigned frames, void* self) {
    static_cast<JackSession*>(self)->Process(frames);
    return 0;
}

void JackSession::Process(unsigned frames) {
    // Sequentially consistent with the handler's removal in ReleaseIn: either this cycle sees
    // the handler gone, or the release waits for this cycle to end.
    processing_.store(true);
    jack_port_t* left = audioPorts_[0].load(std::memory_order_acquire);
    jack_port_t* right = audioPorts_[1].load(std::memory_order_acquire);
    if (left && right) {
        auto* l = static_cast<float*>(jack_port_get_buffer(left, frames));
        auto* r = static_cast<float*>(jack_port_get_buffer(right, frames));
        if (l && r) {
            if (AudioRenderer* renderer = renderer_.load()) {
                renderer->RenderAudio(l, r, frames);
            } else {
                std::memset(l, 0, frames * sizeof(float));
                std::memset(r, 0, frames * sizeof(float));
            }
        }
    }
    for (auto& published : ins_) {
        InSlot* slot = published.load(std::memory_order_acquire);
        if (!slot) continue;
        void* buffer = jack_port_get_buffer(slot->port, frames);
        JackInputStream* stream = slot->stream.load();
        if (!stream || !buffer) continue;
        const std::uint32_t count = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0) stream->Deliver(event.buffer, event.size);
        }
    }
    for (auto& published : outs_) {
        OutSlot* slot = published.load(std::memory_order_acquire);
        if (!slot) continue;
        void* buffer = jack_port_get_buffer(slot->port, frames);
        if (!buffer) continue;
        jack_midi_clear_buffer(buffer);
        const bool active = slot->active.load(std::memory_order_acquire);
        bool wrote = false;
        for (;;) {
            const std::size_t queued = jack_ringbuffer_read_space(slot->ring);
            std::uint32_t length = 0;
            if (queued < sizeof length) break;
            jack_ringbuffer_peek(slot->ring, reinterpret_cast<char*>(&length), sizeof length);
            if (queued < sizeof length + length) break;  // the sender is still writing it
            if (active) {
                if (length > jack_midi_max_event_size(buffer)) {
                    if (wrote) break;  // the next cycle has room
                    // Larger than any cycle can carry: it could never go out.
                    jack_ringbuffer_read_advance(slot->ring, sizeof length + length);
                    continue;
                }
                jack_midi_data_t* target = jack_midi_event_reserve(buffer, 0, length);
                if (!target) break;
                jack_ringbuffer_read_advance(slot->ring, sizeof length);
                jack_ringbuffer_read(slot->ring, reinterpret_cast<char*>(target), length);
                wrote = true;
            } else {
                jack_ringbuffer_read_advance(slot->ring, sizeof length + length);
            }
        }
    }
    processing_.store(false);
}

double JackSession::PeriodSeconds() const {
    return static_cast<double>(periodFrames_.load(std::memory_order_acquire)) / sampleRate_;
}

bool JackSession::IsPhysicalPort(const std::string& fullName) const {
    if (!Alive()) return false;
    jack_port_t* port = jack_port_by_name(client_, fullName.c_str());
    return port && (jack_port_flags(port) & JackPortIsPhysical);
}

std::vector<std::string> JackSession::Ports(bool sources) const {
    std::vector<std::string> names;
    if (!Alive()) return names;
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        sources ? JackPortIsOutput : JackPortIsInput);
    if (!ports) return names;
    for (const char** name = ports; *name; ++name) {
        jack_port_t* port = jack_port_by_name(client_, *name);
        if (port && jack_port_is_mine(client_, port)) continue;
        names.emplace_back(*name);
    }
    jack_free(ports);
    return names;
}

bool JackSession::Connect(const std::string& from, const std::string& to, std::string& made,
                          const std::string& other) {
    // Asked of the server, not of our copy of the graph: that copy follows a disconnection only
    // at a later cycle, which a loaded machine may not have run yet.
    const int result = jack_connect(client_, from.c_str(), to.c_str());
    if (result == EEXIST) return true;  // made elsewhere (a patchbay): not ours to undo
    if (result != 0) return false;
    made = other;
    return true;
}

namespace {

// The first slot no stream holds, made (its port registered) at its first use; nullptr when
// all are taken or the port cannot be made.
template <typename Slot, typename Make>
Slot* TakeFree(std::array<std::atomic<Slot*>, JackSession::kSlots>& slots, Make make) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        Slot* slot = slots[i].load();
        if (slot && slot->taken) continue;
        if (!slot) {
            slot = make(i);
            if (!slot) return nullptr;
            slots[i].store(slot, std::memory_order_release);
        }
        slot->taken = true;
        return slot;
    }
    return nullptr;
}

}  // namespace

JackSession::InSlot* JackSession::TakeInSlot() {
    return TakeFree(ins_, [this](std::size_t i) -> InSlot* {
        jack_port_t* port = jack_port_register(client_, Numbered("in", i).c_str(),
                                               JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        if (!port) return nullptr;
        auto* slot = new InSlot;
        slot->port = port;
        return slot;
    });
}

JackSession::OutSlot* JackSession::TakeOutSlot() {
    return TakeFree(outs_, [this](std::size_t i) -> OutSlot* {
        jack_ringbuffer_t* ring = jack_ringbuffer_create(kRingBytes);
        if (!ring) return nullptr;
        jack_port_t* port = jack_port_register(client_, Numbered("out", i).c_str(),
                                               JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        if (!port) {
            jack_ringbuffer_free(ring);
            return nullptr;
        }
        auto* slot = new OutSlot;
        slot->port = port;
        slot->ring = ring;
        return slot;
    });
}

std::unique_ptr<InputStream> JackSession::OpenInput(const std::string& source, InputHandler& handler) {
    if (!Alive()) return nullptr;
    InSlot* slot = TakeInSlot();
    if (!slot) return nullptr;
    auto stream = std::make_unique<JackInputStream>(shared_from_this(), *slot, handler);
    if (!Connect(source, jack_port_name(slot->port), slot->connectedTo, source))
        return nullptr;  // releases the slot
    slot->stream.store(stream.get());
    return stream;
}

std::unique_ptr<OutputStream> JackSession::OpenOutput(const std::string& destination) {
    if (!Alive()) return nullptr;
    OutSlot* slot = TakeOutSlot();
    if (!slot) return nullptr;
    // Whatever an earlier stream left queued has been discarded since it was released.
    slot->active.store(true, std::memory_order_release);
    auto stream = std::make_unique<JackOutputStream>(shared_from_this(), *slot);
    if (!Connect(jack_port_name(slot->port), destination, slot->connectedTo, destination))
        return nullptr;
    return stream;
}

std::unique_ptr<AudioStream> JackSession::OpenAudio(AudioRenderer& renderer) {
    if (!Alive() || renderer_.load()) return nullptr;
    if (!audioPorts_[0].load()) {
        jack_port_t* ports[2] = {};
        for (int i = 0; i < 2; ++i) {
            ports[i] = jack_port_register(client_, i == 0 ? "out_1" : "out_2", JACK_DEFAULT_AUDIO_TYPE,
                                          JackPortIsOutput, 0);
            if (!ports[i]) return nullptr;
        }
        // Right first: the processing thread starts using them once the left one is there.
        audioPorts_[1].store(ports[1], std::memory_order_release);
        audioPorts_[0].store(ports[0], std::memory_order_release);
        // The sound card's first two playback ports, when the server has any.
        if (const char** playback = jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                                   JackPortIsPhysical | JackPortIsInput)) {
            for (int i = 0; i < 2 && playback[i]; ++i) jack_connect(client_, jack_port_name(ports[i]), playback[i]);
            jack_free(playback);
        }
    }
    renderer.PrepareAudio(sampleRate_);
    renderer_.store(&renderer);
    return std::make_unique<JackAudioStream>(shared_from_this());
}

void JackSession::ReleaseAudio() {
    renderer_.store(nullptr);
    // As for an input: the cycle that may still use the renderer ends before this returns.
    while (Alive() && processing_.load()) std::this_thread::yield();
}

void JackSession::ReleaseIn(InSlot& slot) {
    slot.stream.store(nullptr);
    while (Alive() && processing_.load()) std::this_thread::yield();
    if (Alive() && !slot.connectedTo.empty())
        jack_disconnect(client_, slot.connectedTo.c_str(), jack_port_name(slot.port));
    slot.connectedTo.clear();
    slot.taken = false;
}

void JackSession::ReleaseOut(OutSlot& slot) {
    slot.active.store(false, std::memory_order_release);
    if (Alive() && !slot.connectedTo.empty())
        jack_disconnect(client_, jack_port_name(slot.port), slot.connectedTo.c_str());
    slot.connectedTo.clear();
    // Reused only once the processing thread has discarded what is left (a dead session is
    // never reused; a stalled one keeps the slot).
    const auto deadline = Clock::now() + kDrainPatience;
    while (Alive() && jack_ringbuffer_read_space(slot.ring) > 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    slot.taken = jack_ringbuffer_read_space(slot.ring) > 0;
}

}  // namespace midi
