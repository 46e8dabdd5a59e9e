#include "librarian/Audition.h"

#include <algorithm>

#include "midi/MidiOutput.h"
#include "midi/TfrmMidi.h"

namespace librarian {

AuditionSettings AuditionFrom(const BaseValues& values) {
    AuditionSettings s;
    s.on = values.auditionOn != 0;
    s.note = std::clamp(int(values.auditionNote), 0, 127);
    s.velocity = std::clamp(int(values.auditionVelocity), 1, 127);
    s.tenths = std::clamp(int(values.auditionLength), 1, kAuditionMaxTenths);
    return s;
}

void StoreAudition(const AuditionSettings& settings, BaseValues& values) {
    values.auditionOn = settings.on ? 1 : 0;
    values.auditionNote = settings.note;
    values.auditionVelocity = settings.velocity;
    values.auditionLength = settings.tenths;
}

std::array<std::uint8_t, 3> AuditionNoteOn(const AuditionSettings& settings, int channel) {
    return {std::uint8_t(0x90 | ((channel - 1) & 0x0F)), std::uint8_t(settings.note & 0x7F),
            std::uint8_t(std::clamp(settings.velocity, 1, 127))};
}

std::array<std::uint8_t, 3> AuditionNoteOff(const AuditionSettings& settings, int channel) {
    return {std::uint8_t(0x90 | ((channel - 1) & 0x0F)), std::uint8_t(settings.note & 0x7F), 0};
}

AuditionPlayer::AuditionPlayer(midi::TfrmMidi& midi) : midi_(midi) {
    ending_.setSingleShot(true);
    connect(&ending_, &QTimer::timeout, this, [this] { End(); });
}

AuditionPlayer::~AuditionPlayer() = default;

void AuditionPlayer::Play(const AuditionSettings& settings, int module) {
    if (!settings.on || module < 0 || module >= int(midi::kModuleCount)) return;
    End();
    midi::TMidiOutput& output = midi_.MidiOutput1();
    if (!output.IsOpen()) return;
    const int channel = midi_.ModuleChannel(std::size_t(module));
    const auto on = AuditionNoteOn(settings, channel);
    output.SendShort(on[0], on[1], on[2]);
    off_ = AuditionNoteOff(settings, channel);
    sounding_ = true;
    ending_.start(settings.tenths * 100);
}

void AuditionPlayer::End() {
    if (!sounding_) return;
    sounding_ = false;
    ending_.stop();
    midi::TMidiOutput& output = midi_.MidiOutput1();
    if (output.IsOpen()) output.SendShort(off_[0], off_[1], off_[2]);
}

}  // namespace librarian
