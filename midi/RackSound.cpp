#include "midi/RackSound.h"

#include <algorithm>
#include <cmath>

namespace midi {
namespace {

// Room for a few periods of a busy performance and a knob dragged at full speed.
constexpr std::size_t kQueueEntries = 1024;
constexpr int kOmni = 16;
constexpr std::size_t kChunk = 256;

// Gentle above half scale, never past full scale: many notes at once are squeezed, not
// clipped hard.
float Limit(float x) {
    const float a = std::abs(x);
    if (a <= 0.5f) return x;
    const float over = a - 0.5f;
    return std::copysign(0.5f + over / (1.0f + 2.0f * over), x);
}

}  // namespace

RackSound::RackSound() : rackQueue_(kQueueEntries), keyboardQueue_(kQueueEntries) {
    for (std::size_t m = 0; m < kModules; ++m) channels_[m].store(int(m));
}

RackSound::Event RackSound::ChannelEvent(std::span<const std::uint8_t> bytes) {
    Event event;
    event.kind = Kind::kChannel;
    event.size = std::uint8_t(std::min<std::size_t>(bytes.size(), 3));
    std::copy_n(bytes.begin(), event.size, event.bytes.begin());
    return event;
}

bool RackSound::PostImage(std::size_t module, const core::EditImage& image) {
    Event event;
    event.kind = Kind::kImage;
    event.module = std::uint8_t(module);
    event.image = image;
    return module < kModules && rackQueue_.Push(event);
}

bool RackSound::PostOperatorSwitches(std::size_t module, std::uint8_t bits) {
    Event event;
    event.kind = Kind::kSwitches;
    event.module = std::uint8_t(module);
    event.bytes[0] = bits;
    return module < kModules && rackQueue_.Push(event);
}

bool RackSound::PostChannelMessage(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && rackQueue_.Push(ChannelEvent(bytes));
}

bool RackSound::PostKeyboardMessage(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && keyboardQueue_.Push(ChannelEvent(bytes));
}

void RackSound::SetChannel(std::size_t module, int channel, bool omni) {
    if (module < kModules) channels_[module].store(omni ? kOmni : (channel - 1) & 0x0F);
}

void RackSound::Route(const std::uint8_t* bytes, std::size_t size) {
    const int nibble = bytes[0] & 0x0F;
    for (std::size_t m = 0; m < kModules; ++m) {
        const int channel = channels_[m].load(std::memory_order_relaxed);
        if (channel == kOmni || channel == nibble) engines_[m].Midi(bytes, size);
    }
}

void RackSound::Apply(const Event& event) {
    switch (event.kind) {
        case Kind::kImage:
            engines_[event.module].SetImage(synth::Image(event.image.data(), synth::kImageBytes));
            break;
        case Kind::kSwitches: engines_[event.module].SetOperatorSwitches(event.bytes[0]); break;
        case Kind::kChannel: Route(event.bytes.data(), event.size); break;
    }
}

// What is queued now; what arrives meanwhile waits for the next block.
void RackSound::Drain(SpscRing<Event>& queue) {
    for (std::size_t n = queue.Count(); n > 0; --n) {
        const Event* event = queue.Peek();
        if (!event) break;
        Apply(*event);
        queue.Remove();
    }
}

void RackSound::Render(float* left, float* right, std::size_t frames) {
    Drain(rackQueue_);
    Drain(keyboardQueue_);
    std::array<float, kChunk> module{};
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kChunk, frames - done);
        std::fill_n(left + done, n, 0.0f);
        std::fill_n(right + done, n, 0.0f);
        for (std::size_t m = 0; m < kModules; ++m) {
            if (engines_[m].SoundingNotes() == 0) continue;
            engines_[m].Render(module.data(), int(n));
            // Module 1 a little left ... module 8 a little right.
            const float pan = 0.3f + 0.4f * float(m) / float(kModules - 1);
            const float l = std::sqrt(1.0f - pan), r = std::sqrt(pan);
            for (std::size_t i = 0; i < n; ++i) {
                left[done + i] += l * module[i];
                right[done + i] += r * module[i];
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            left[done + i] = Limit(left[done + i]);
            right[done + i] = Limit(right[done + i]);
        }
        done += n;
    }
}

void RackSound::Restart(double sampleRate, const std::array<core::EditImage, kModules>& images) {
    sampleRate_ = sampleRate > 0 ? sampleRate : 48000.0;
    Event discard;
    while (rackQueue_.Pop(discard)) {}
    while (keyboardQueue_.Pop(discard)) {}
    for (std::size_t m = 0; m < kModules; ++m) {
        engines_[m] = synth::ModuleEngine(sampleRate_);
        engines_[m].SetImage(synth::Image(images[m].data(), synth::kImageBytes));
    }
}

}  // namespace midi
