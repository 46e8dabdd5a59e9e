#include "midi/RtMidiBackend.h"

#include <RtMidi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "midi/JackSession.h"
#include "midi/SystemAudio.h"
#include "midi/QuietStderr.h"
#include "midi/SendPacer.h"

namespace midi {

namespace {

using Clock = std::chrono::steady_clock;

// JACK: longer messages go in pieces, which every JACK MIDI client (RtMidi's among them) takes.
constexpr std::size_t kJackLargestMessage = 16379;
constexpr std::size_t kJackPiece = 8192;
// ALSA: large single sequencer events fail, so long messages go as sequencer events of this
// size (the encoder emits one event each time its buffer of this size fills), paced at the
// MIDI wire speed of a hardware interface, a bank dump at once.
constexpr std::size_t kAlsaPiece = 256;
constexpr double kAlsaBytesPerSecond = 3125;
constexpr std::size_t kAlsaBurst = 4104;

bool IsWarning(RtMidiError::Type type) {
    return type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING;
}

// RtMidi's error callback: errors no longer throw, they set the owner's flag.
void RecordError(RtMidiError::Type type, const std::string&, void* failed) {
    if (failed && !IsWarning(type)) static_cast<std::atomic<bool>*>(failed)->store(true);
}

bool Compiled(RtMidi::Api api) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return std::find(apis.begin(), apis.end(), api) != apis.end();
}

// Constructs an RtMidi object on one API, quietly; nullptr when the API is not usable here.
// Its errors no longer throw; a stream then points them at its own flag.
template <typename T>
std::unique_ptr<T> Make(RtMidi::Api api, const std::string& clientName) {
    if (!Compiled(api)) return nullptr;
    QuietStderr quiet;
    try {
        auto object = std::make_unique<T>(api, clientName);
        object->setErrorCallback(&RecordError, nullptr);
        return object;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

std::vector<std::string> PortNames(RtMidi& rt) {
    std::vector<std::string> names;
    const unsigned count = rt.getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(rt.getPortName(i));
    return names;
}

// The current number of the port with this name, or -1.
int FindPort(RtMidi& rt, const std::string& name) {
    const std::vector<std::string> names = PortNames(rt);
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

class RtInputStream final : public InputStream {
public:
    RtInputStream(std::unique_ptr<RtMidiIn> in, InputHandler& handler)
        : in_(std::move(in)), handler_(handler) {}
    ~RtInputStream() override {
        in_->closePort();  // the ALSA thread stops calling before the object goes
        in_.reset();
    }

    bool Open(int port) {
        in_->ignoreTypes(false, false, false);  // the port filters what it does not want
        in_->setCallback(&RtInputStream::OnMessage, this);
        in_->openPort(static_cast<unsigned>(port), "in");
        return in_->isPortOpen() && !failed_.load();
    }
    std::atomic<bool>* FailedFlag() { return &failed_; }

    void Start() override {
        startNs_.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
        started_.store(true, std::memory_order_release);
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* message, void* self) {
        static_cast<RtInputStream*>(self)->Deliver(*message);
    }
    void Deliver(const std::vector<unsigned char>& message) {
        if (!started_.load(std::memory_order_acquire) || message.empty()) return;
        const auto elapsed = Clock::now().time_since_epoch().count() -
                             startNs_.load(std::memory_order_relaxed);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::duration(elapsed));
        handler_.OnMidiData(std::span(message.data(), message.size()),
                            static_cast<std::uint32_t>(ms.count()));
    }

    std::unique_ptr<RtMidiIn> in_;
    InputHandler& handler_;
    std::atomic<bool> failed_{false};
    std::atomic<bool> started_{false};
    std::atomic<Clock::rep> startNs_{0};
};

MidiSystem SystemOf(RtMidi::Api api) {
    if (api == RtMidi::LINUX_ALSA) return MidiSystem::kAlsa;
    if (api == RtMidi::UNIX_JACK) return MidiSystem::kJack;
    return MidiSystem::kOther;
}

// ALSA, WinMM and CoreMIDI (JACK has its own streams, midi/JackSession).
class RtOutputStream final : public OutputStream {
public:
    explicit RtOutputStream(RtMidi::Api api) : system_(SystemOf(api)) {
        // WinMM and CoreMIDI pace themselves (a send returns once the message is out).
        if (system_ == MidiSystem::kAlsa) pacer_.emplace(kAlsaBytesPerSecond, kAlsaBurst);
    }
    ~RtOutputStream() override {
        if (!out_) return;
        out_->closePort();
        out_.reset();
    }

    bool Open(std::unique_ptr<RtMidiOut> out, int port) {
        out_ = std::move(out);
        out_->openPort(static_cast<unsigned>(port), "out");
        return out_->isPortOpen() && !failed_.load();
    }
    std::atomic<bool>* FailedFlag() { return &failed_; }

    bool Send(std::span<const std::uint8_t> bytes) override {
        if (bytes.empty()) return true;
        const std::size_t piece = SendPieceSize(system_, bytes.size());
        failed_.store(false);
        for (std::size_t offset = 0; offset < bytes.size(); offset += piece) {
            const std::size_t length = std::min(piece, bytes.size() - offset);
            if (!out_->isPortOpen()) return false;
            if (pacer_) pacer_->Wait(length);
            out_->sendMessage(bytes.data() + offset, length);
            if (failed_.load()) return false;
        }
        return true;
    }

private:
    MidiSystem system_;
    std::optional<SendPacer> pacer_;
    std::atomic<bool> failed_{false};
    std::unique_ptr<RtMidiOut> out_;
};

}  // namespace

std::size_t SendPieceSize(MidiSystem system, std::size_t messageSize) {
    switch (system) {
    case MidiSystem::kAlsa: return std::min(messageSize, kAlsaPiece);
    case MidiSystem::kJack: return messageSize > kJackLargestMessage ? kJackPiece : messageSize;
    case MidiSystem::kOther: break;
    }
    return messageSize;
}

bool IsKnownSoftwarePort(const std::string& name) {
    for (const char* prefix : {"Microsoft GS Wavetable", "IAC Driver", "loopMIDI", "Network"})
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

bool IsAlsaHardwarePort(const std::string& name) {
    if (name.rfind("Midi Through", 0) == 0) return false;
    const std::size_t blank = name.rfind(' ');
    if (blank == std::string::npos) return false;
    try {
        const int client = std::stoi(name.substr(blank + 1));
        return client >= 16 && client < 128;
    } catch (const std::exception&) {
        return false;
    }
}

struct RtMidiBackend::Impl {
    struct Api {
        RtMidi::Api api;
        std::unique_ptr<RtMidiIn> inputLister;
        std::unique_ptr<RtMidiOut> outputLister;
    };
    struct Port {
        RtMidi::Api api;
        std::string name;
    };

    std::string clientName;
    std::vector<Api> apis;  // RtMidi's systems except JACK
    std::shared_ptr<JackSession> jack;
    std::vector<Port> inputs;
    std::vector<Port> outputs;

    // Our RtMidi streams' ports: "<client>:in" / "<client>:out" exactly, never another
    // program's whose name merely starts like ours.
    bool OwnPort(const std::string& name) const {
        for (const char* port : {"in", "out"}) {
            const std::string own = clientName + ":" + port;
            if (name == own || name.rfind(own + " ", 0) == 0) return true;
        }
        return false;
    }

    // The session with a running server, or nullptr. A session whose server went away is
    // closed before a new one is opened: libjack crashes the other way round.
    // A server found absent is not asked for again until kJackRetry has passed: refreshing
    // the port lists asks for them a dozen times in a row, and each try costs a connection.
    std::shared_ptr<JackSession> Jack() {
        if (jack && jack->Alive()) return jack;
        if (jack) jack->Close();
        const auto now = std::chrono::steady_clock::now();
        if (jackAbsentSince && now - *jackAbsentSince < kJackRetry) return jack = nullptr;
        jack = JackSession::Connect(clientName);
        jackAbsentSince = jack ? std::nullopt : std::optional(now);
        return jack;
    }
    static constexpr std::chrono::milliseconds kJackRetry{500};
    std::optional<std::chrono::steady_clock::time_point> jackAbsentSince;

    int TechnologyOf(RtMidi::Api api, const std::string& name) {
        const bool hardware = SystemOf(api) == MidiSystem::kAlsa ? IsAlsaHardwarePort(name)
                                                                 : !IsKnownSoftwarePort(name);
        return hardware ? kTechnologyMidiPort : kTechnologySoftwarePort;
    }

    // The listers of RtMidi's systems, made at the first listing: each opens a connection to
    // its system, which the program's start need not wait for.
    std::vector<Api>& Apis() {
        if (apisMade) return apis;
        apisMade = true;
        for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::WINDOWS_MM, RtMidi::MACOSX_CORE}) {
            Api entry{api, Make<RtMidiIn>(api, clientName), Make<RtMidiOut>(api, clientName)};
            if (entry.inputLister || entry.outputLister) apis.push_back(std::move(entry));
        }
        return apis;
    }
    bool apisMade = false;

    std::vector<DeviceInfo> List(bool wantInputs) {
        std::vector<Port>& ports = wantInputs ? inputs : outputs;
        ports.clear();
        std::vector<DeviceInfo> devices;
        for (Api& api : Apis()) {
            RtMidi* lister = wantInputs ? static_cast<RtMidi*>(api.inputLister.get())
                                        : static_cast<RtMidi*>(api.outputLister.get());
            if (!lister) continue;
            for (const std::string& name : PortNames(*lister)) {
                if (name.empty() || OwnPort(name)) continue;
                ports.push_back({api.api, name});
                devices.push_back({name, TechnologyOf(api.api, name)});
            }
        }
        if (const std::shared_ptr<JackSession> session = Jack()) {
            for (const std::string& name : session->Ports(wantInputs)) {
                ports.push_back({RtMidi::UNIX_JACK, name});
                devices.push_back({name, session->IsPhysicalPort(name) ? kTechnologyMidiPort
                                                                       : kTechnologySoftwarePort});
            }
        }
        return devices;
    }
};

RtMidiBackend::RtMidiBackend(std::string clientName) : impl_(std::make_unique<Impl>()) {
    impl_->clientName = std::move(clientName);
    JackSession::SilenceLibraryMessages();
}

RtMidiBackend::~RtMidiBackend() = default;

std::vector<DeviceInfo> RtMidiBackend::Inputs() { return impl_->List(true); }
std::vector<DeviceInfo> RtMidiBackend::Outputs() { return impl_->List(false); }

std::unique_ptr<InputStream> RtMidiBackend::OpenInput(std::size_t index, InputHandler& handler) {
    if (index >= impl_->inputs.size()) return nullptr;
    const Impl::Port port = impl_->inputs[index];
    if (port.api == RtMidi::UNIX_JACK) {
        const std::shared_ptr<JackSession> jack = impl_->Jack();
        return jack ? jack->OpenInput(port.name, handler) : nullptr;
    }
    auto in = Make<RtMidiIn>(port.api, impl_->clientName);
    if (!in) return nullptr;
    const int number = FindPort(*in, port.name);  // the list may have changed since
    if (number < 0) return nullptr;
    RtMidiIn* raw = in.get();
    auto stream = std::make_unique<RtInputStream>(std::move(in), handler);
    raw->setErrorCallback(&RecordError, stream->FailedFlag());
    if (!stream->Open(number)) return nullptr;
    return stream;
}

std::unique_ptr<OutputStream> RtMidiBackend::OpenOutput(std::size_t index) {
    if (index >= impl_->outputs.size()) return nullptr;
    const Impl::Port port = impl_->outputs[index];
    if (port.api == RtMidi::UNIX_JACK) {
        const std::shared_ptr<JackSession> jack = impl_->Jack();
        return jack ? jack->OpenOutput(port.name) : nullptr;
    }
    auto out = Make<RtMidiOut>(port.api, impl_->clientName);
    if (!out) return nullptr;
    const int number = FindPort(*out, port.name);
    if (number < 0) return nullptr;
    auto stream = std::make_unique<RtOutputStream>(port.api);
    out->setErrorCallback(&RecordError, stream->FailedFlag());
    if (!stream->Open(std::move(out), number)) return nullptr;
    return stream;
}

std::unique_ptr<AudioStream> RtMidiBackend::OpenAudio(AudioChoice choice, AudioRenderer& renderer) {
    if (choice == AudioChoice::kOff) return nullptr;
    if (choice == AudioChoice::kJack)
        if (const std::shared_ptr<JackSession> jack = impl_->Jack())
            if (auto stream = jack->OpenAudio(renderer)) return stream;
    return OpenSystemAudio(renderer);
}

}  // namespace midi
