#pragma once
// The audition: after each voice click a short note on the current module, so a user clicking
// down a bank hears each voice. Off at first; note, velocity and length are the options
// window's knobs.

#include <array>
#include <cstdint>

#include <QObject>
#include <QTimer>

#include "librarian/BaseSettings.h"

namespace midi {
class TfrmMidi;
}

namespace librarian {

struct AuditionSettings {
    bool on = false;
    int note = 60;       // 0-127
    int velocity = 100;  // 1-127
    int tenths = 5;      // length 1-99 tenths of a second
    bool operator==(const AuditionSettings&) const = default;
};
inline constexpr int kAuditionMaxTenths = 99;

// From the "Base" values (out-of-range values brought into range) and back.
AuditionSettings AuditionFrom(const BaseValues& values);
void StoreAudition(const AuditionSettings& settings, BaseValues& values);

// The note's two messages on channel 1-16: note-on, and a note-on of velocity 0 to end it.
std::array<std::uint8_t, 3> AuditionNoteOn(const AuditionSettings& settings, int channel);
std::array<std::uint8_t, 3> AuditionNoteOff(const AuditionSettings& settings, int channel);

// Plays auditions through the MIDI window's output port; a new one first ends the one sounding.
class AuditionPlayer : public QObject {
    Q_OBJECT
public:
    explicit AuditionPlayer(midi::TfrmMidi& midi);
    ~AuditionPlayer() override;
    void Play(const AuditionSettings& settings, int module);
    bool Sounding() const { return sounding_; }

private:
    void End();

    midi::TfrmMidi& midi_;
    QTimer ending_;
    bool sounding_ = false;  // the timer is no longer active when it fires
    std::array<std::uint8_t, 3> off_{};
};

}  // namespace librarian
