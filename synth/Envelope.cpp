#include "synth/Envelope.h"

#include <algorithm>
#include <cmath>

#include "synth/FmTables.h"

namespace synth {
namespace {

// A rising segment moves faster the further down it starts (the instrument's attacks leap out
// of silence and slow near the top): d(dB)/dt = -speed * (1 + dB / kAttackBend), with the
// speed set so that a whole rise takes a third of the fall at the same rate.
constexpr double kAttackBend = 12.0;
const double kAttackSpeedTimesSeconds = 3.0 * kAttackBend * std::log(1.0 + 96.0 / kAttackBend);

}  // namespace

float Envelope::Advance(const std::array<int, 4>& rates, const std::array<float, 4>& levelsDb,
                        double rateBoost, double seconds) {
    if (stage_ == kSustain || stage_ == kDone) {
        // A sustain follows its level live, as an edited level 3 is heard at once.
        if (stage_ == kSustain) db_ = levelsDb[2];
        return db_;
    }
    const int segment = stage_ == kRelease ? 3 : stage_;
    const float target = levelsDb[std::size_t(segment)];
    const double time = DecaySeconds(rates[std::size_t(segment)] + rateBoost);
    double db = db_;
    if (db > target) {
        const double speed = kAttackSpeedTimesSeconds / time;
        db -= speed * (1.0 + db / kAttackBend) * seconds;
        if (db <= target) {
            db = target;
            ++stage_;
        }
    } else {
        db += 96.0 / time * seconds;
        if (db >= target) {
            db = target;
            ++stage_;
        }
    }
    db_ = float(db);
    return db_;
}

double PitchEnvelope::Advance(const std::array<int, 4>& rates, const std::array<int, 4>& levels,
                              double seconds) {
    if (stage_ == Envelope::kSustain || stage_ == Envelope::kDone) {
        if (stage_ == Envelope::kSustain) value_ = PitchEgSemitones(levels[2]);
        return value_;
    }
    const int segment = stage_ == Envelope::kRelease ? 3 : stage_;
    const double target = PitchEgSemitones(levels[std::size_t(segment)]);
    const double step = 96.0 / PitchEgSweepSeconds(rates[std::size_t(segment)]) * seconds;
    if (std::abs(target - value_) <= step) {
        value_ = target;
        ++stage_;
    } else {
        value_ += target > value_ ? step : -step;
    }
    return value_;
}

}  // namespace synth
