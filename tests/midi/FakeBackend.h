#pragma once
// An in-process MIDI backend for the port tests: a fixed device list, inputs fed by the test
// (as the backend's thread would), outputs recording what they are sent.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "midi/MidiBackend.h"

namespace midi::testing {

class FakeBackend : public Backend {
public:
    std::vector<DeviceInfo> inputs;
    std::vector<DeviceInfo> outputs;
    bool refuseOpen = false;
    bool refuseSend = false;

    // What the outputs were sent, whole messages in order.
    std::vector<std::vector<std::uint8_t>> sent;
    std::size_t lastOpenedOutput = SIZE_MAX;
    // The handler of the open input, nullptr when none is open.
    InputHandler* handler = nullptr;
    bool started = false;

    std::vector<DeviceInfo> Inputs() override { return inputs; }
    std::vector<DeviceInfo> Outputs() override { return outputs; }

    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& h) override {
        if (refuseOpen || index >= inputs.size()) return nullptr;
        handler = &h;
        return std::make_unique<Input>(*this);
    }
    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override {
        if (refuseOpen || index >= outputs.size()) return nullptr;
        lastOpenedOutput = index;
        return std::make_unique<Output>(*this);
    }

    // Delivers bytes to the open input as the backend thread would.
    void Deliver(std::vector<std::uint8_t> bytes, std::uint32_t timestamp = 0) {
        handler->OnMidiData(std::span<const std::uint8_t>(bytes), timestamp);
    }

private:
    struct Input : InputStream {
        explicit Input(FakeBackend& b) : backend(b) {}
        ~Input() override { backend.handler = nullptr; }
        void Start() override { backend.started = true; }
        FakeBackend& backend;
    };
    struct Output : OutputStream {
        explicit Output(FakeBackend& b) : backend(b) {}
        bool Send(std::span<const std::uint8_t> bytes) override {
            if (backend.refuseSend) return false;
            backend.sent.emplace_back(bytes.begin(), bytes.end());
            return true;
        }
        FakeBackend& backend;
    };
};

}  // namespace midi::testing
