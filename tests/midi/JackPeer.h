#pragma once
// The other side of a JACK connection in the integration tests: a plain RtMidi client with one
// input and one output port, recording what it receives.

#include <RtMidi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace midi::testing {

using Bytes = std::vector<std::uint8_t>;

class JackPeer {
public:
    // Clients "peer-in-<tag>" and "peer-out-<tag>", each with one port.
    explicit JackPeer(const std::string& tag)
        : in_(std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "peer-in-" + tag)),
          out_(std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "peer-out-" + tag)) {
        in_->ignoreTypes(false, false, false);
        in_->setCallback(&JackPeer::OnMessage, this);
        in_->openVirtualPort("in");
        out_->openVirtualPort("out");
    }
    ~JackPeer() {
        in_->closePort();
        // RtMidi's JACK output frees its buffer before closing its client: let the
        // processing thread finish with it first.
        out_->closePort();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    void Send(const Bytes& bytes) { out_->sendMessage(bytes.data(), bytes.size()); }

    std::vector<Bytes> Received() {
        std::lock_guard lock(mutex_);
        return received_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        received_.clear();
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* message, void* self) {
        auto* peer = static_cast<JackPeer*>(self);
        std::lock_guard lock(peer->mutex_);
        peer->received_.emplace_back(message->begin(), message->end());
    }

    // What the callback touches comes first: it exists before the JACK thread can call and
    // outlives the clients.
    std::mutex mutex_;
    std::vector<Bytes> received_;
    std::unique_ptr<RtMidiIn> in_;
    std::unique_ptr<RtMidiOut> out_;
};

}  // namespace midi::testing
