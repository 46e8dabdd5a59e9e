// Offline renders of the FM engine checked against physics and the instrument's published
// behaviour: frequencies as the editor shows them, Bessel sidebands, the algorithm charts,
// envelopes, keyboard level scaling, and every voice of the shared banks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "../midi/BankFiles.h"
#include "SynthVoices.h"
#include "core/VoiceFormats.h"
#include "editor/EditorTables.h"
#include "synth/FmTables.h"

namespace synth {
namespace {

using namespace testing;

// A lone carrier plays the frequency the editor's FREQ text shows (times the key's frequency
// in ratio mode); detune moves it by its steps; a one-step change of fine is told apart.
TEST(SynthRenderTest, CarrierPlaysTheFrequencyTheEditorShows) {
    struct Case {
        int key, mode, coarse, fine, detune;
    };
    const Case cases[] = {
        {69, 0, 1, 0, 7},  {69, 0, 1, 1, 7},   {69, 0, 0, 0, 7},  {57, 0, 2, 50, 7}, {45, 0, 3, 99, 7},
        {60, 0, 7, 13, 7}, {69, 0, 1, 0, 0},   {69, 0, 1, 0, 14}, {60, 1, 2, 0, 7},  {60, 1, 3, 30, 7},
        {30, 1, 1, 50, 7}, {90, 1, 6, 0, 7},   {60, 1, 2, 1, 7},
    };
    for (const Case& c : cases) {
        VoiceImage voice;
        voice.Level(1, 99).Frequency(1, c.mode, c.coarse, c.fine, c.detune);
        const double shown = std::stod(editor::FrequencyText(c.mode, c.coarse, c.fine));
        const double key = c.mode == 0 ? 440.0 * std::exp2((c.key - 69) / 12.0) : 1.0;
        const double expected = shown * key * std::exp2((c.detune - 7) * kDetuneCentsPerStep / 1200.0);
        const double measured = Fundamental(Play(voice, c.key, 1.0));
        EXPECT_NEAR(measured / expected, 1.0, 0.0005)
            << "key " << c.key << " mode " << c.mode << " coarse " << c.coarse << " fine " << c.fine
            << " detune " << c.detune << ": " << measured << " Hz";
    }
}

// Carrier at 8 x A4, modulated by an operator at ratio 1: the sidebands at 3520 ± n x 440 Hz
// stand to the unmodulated carrier as the Bessel functions J_n of the modulator's index.
TEST(SynthRenderTest, ModulatedCarrierHasBesselSidebands) {
    VoiceImage alone;
    alone.Algorithm(1).Level(1, 99).Frequency(1, 0, 8, 0);
    const double carrier = Amplitude(Play(alone, 69, 1.0), 3520.0);
    ASSERT_GT(carrier, 0.05);
    for (const int level : {74, 78, 82}) {
        VoiceImage voice = alone;
        voice.Level(2, level);
        const double index = ModulationIndex(level);
        const auto s = Play(voice, 69, 1.0);
        for (int n = 0; n <= 3; ++n) {
            const double expected = Db(std::abs(std::cyl_bessel_j(double(n), index)));
            for (const int side : {-1, 1}) {
                const double hz = 3520.0 + side * n * 440.0;
                EXPECT_NEAR(Db(Amplitude(s, hz) / carrier), expected, 0.5)
                    << "level " << level << " index " << index << " n " << n << " at " << hz << " Hz";
            }
        }
    }
}

// The carriers of each algorithm as the panel's chart draws them (the bottom row).
TEST(SynthRenderTest, EveryAlgorithmSoundsItsCarriersOnly) {
    const char* const charts[32] = {
        "13",   "13",   "14",   "14",   "135",   "135",   "13",    "13",
        "13",   "14",   "14",   "13",   "13",    "13",    "13",    "1",
        "1",    "1",    "145",  "124",  "1245",  "1345",  "1245",  "12345",
        "12345", "124", "124",  "136",  "1235",  "1236",  "12345", "123456",
    };
    for (int algorithm = 1; algorithm <= 32; ++algorithm) {
        const std::string carriers = charts[algorithm - 1];
        for (int op = 1; op <= 6; ++op) {
            VoiceImage voice;
            voice.Algorithm(algorithm).Level(op, 99);
            const double rms = Rms(Play(voice, 60, 0.05, 0.02));
            const bool carrier = carriers.find(char('0' + op)) != std::string::npos;
            if (carrier) {
                EXPECT_GT(rms, 0.05) << "algorithm " << algorithm << " OP" << op;
            } else {
                EXPECT_EQ(rms, 0.0) << "algorithm " << algorithm << " OP" << op;
            }
        }
    }
}

// Seconds until OP1's envelope has come within `db` of `target` from the other side.
double TimeToReach(ModuleEngine& engine, float target, bool falling) {
    for (int block = 0; block < 200000; ++block) {
        const float db = engine.Note(0).EnvelopeDb(0);
        if (falling ? db >= target : db <= target) return block * kBlockFrames / kRate;
        float out[kBlockFrames];
        engine.Render(out, kBlockFrames);
    }
    return 1e9;
}

// Higher rates are faster, rising and falling, from the bottom of the range to the top; a
// key-off releases from the level reached, not from a segment's end.
TEST(SynthRenderTest, EnvelopeRatesAreMonotoneAndReleaseStartsWhereTheLevelIs) {
    double lastRise = 1e9, lastFall = 1e9;
    for (const int rate : {0, 1, 20, 50, 80, 99}) {
        VoiceImage rise;
        rise.Level(1, 99);
        rise.Block(1)[0] = std::uint8_t(rate);  // L4 0 -> L1 99 at R1
        ModuleEngine a(kRate);
        a.SetImage(rise.View());
        NoteOn(a, 60);
        const double riseTime = TimeToReach(a, 6.0f, false);
        EXPECT_LT(riseTime, lastRise) << "rise at rate " << rate;
        lastRise = riseTime;

        VoiceImage fall;
        fall.Level(1, 99);
        fall.Block(1)[1] = std::uint8_t(rate);  // L1 99 -> L2 at R2
        fall.Block(1)[5] = 0;
        ModuleEngine b(kRate);
        b.SetImage(fall.View());
        NoteOn(b, 60);
        TimeToReach(b, 0.5f, false);
        const double fallTime = TimeToReach(b, 40.0f, true);
        EXPECT_LT(fallTime, lastFall) << "fall at rate " << rate;
        lastFall = fallTime;
    }

    // Decay 99 -> 0 at rate 40 is released half way at rate 60 towards L4 0.
    VoiceImage voice;
    voice.Level(1, 99);
    std::uint8_t* b = voice.Block(1);
    b[1] = 40;
    b[3] = 60;
    b[5] = 0;
    b[6] = 0;
    ModuleEngine engine(kRate);
    engine.SetImage(voice.View());
    NoteOn(engine, 60);
    Render(engine, int(0.5 * kRate));
    const float before = engine.Note(0).EnvelopeDb(0);
    ASSERT_GT(before, 10.0f);
    ASSERT_LT(before, 80.0f);
    NoteOff(engine, 60);
    Render(engine, kBlockFrames);
    const float after = engine.Note(0).EnvelopeDb(0);
    EXPECT_GE(after, before);
    EXPECT_LT(after - before, 1.0f);
    Render(engine, int(0.05 * kRate));
    EXPECT_GT(engine.Note(0).EnvelopeDb(0), after + 3.0f);
}

// Keyboard level scaling around a break point at C3 (note 60): only the side with a depth
// moves; "-" curves lower the level and "+" raise it; linear curves drop twice as much two
// octaves away as one, exponential ones more than twice.
TEST(SynthRenderTest, KeyboardLevelScalingFollowsSideDepthAndCurve) {
    struct Case {
        int leftDepth, rightDepth, leftCurve, rightCurve;
        int sign;     // on the scaled side: -1 lower, +1 higher
        bool exponential;
    };
    const Case cases[] = {
        {30, 0, 0, 0, -1, false}, {30, 0, 1, 0, -1, true}, {0, 30, 0, 3, +1, false},
        {0, 30, 0, 2, +1, true},  {0, 30, 3, 0, -1, false}, {30, 0, 2, 3, +1, true},
    };
    auto level = [](const VoiceImage& voice, int key) {
        return Db(Rms(Play(voice, key, 0.1)));
    };
    for (const Case& c : cases) {
        VoiceImage voice;
        voice.Level(1, 70);
        std::uint8_t* b = voice.Block(1);
        b[8] = 39;
        b[9] = std::uint8_t(c.leftDepth);
        b[10] = std::uint8_t(c.rightDepth);
        b[11] = std::uint8_t(c.leftCurve);
        b[12] = std::uint8_t(c.rightCurve);
        const bool left = c.leftDepth > 0;
        const int away = left ? -12 : 12;
        const double at = level(voice, 60);
        const double one = level(voice, 60 + away) - at;
        const double two = level(voice, 60 + 2 * away) - at;
        const double other = level(voice, 60 - away) - at;
        std::ostringstream what;
        what << "depths " << c.leftDepth << "/" << c.rightDepth << " curves " << c.leftCurve << "/" << c.rightCurve;
        EXPECT_NEAR(other, 0.0, 0.2) << what.str() << " (the other side)";
        EXPECT_GT(c.sign * one, 1.0) << what.str();
        if (c.exponential) {
            EXPECT_GT(two / one, 2.2) << what.str();
        } else {
            EXPECT_NEAR(two / one, 2.0, 0.1) << what.str();
        }
    }
}

// Sixteen notes a module: a seventeenth takes the place of the oldest released note, or of the
// oldest note when none is released.
TEST(SynthRenderTest, SeventeenthNoteStealsTheOldestReleasedFirst) {
    VoiceImage voice;
    voice.Level(1, 99);
    voice.Block(1)[3] = 1;  // slow release: released notes keep sounding
    struct Case {
        std::vector<int> released;  // keys let go, in this order
        int stolen;                 // the key whose note makes room
    };
    const Case cases[] = {{{47, 43}, 43}, {{43, 47}, 43}, {{}, 40}, {{55}, 55}};
    for (const Case& c : cases) {
        ModuleEngine engine(kRate);
        engine.SetImage(voice.View());
        for (int key = 40; key < 56; ++key) {
            NoteOn(engine, key);
            Render(engine, kBlockFrames);
        }
        for (const int key : c.released) NoteOff(engine, key);
        Render(engine, kBlockFrames);
        NoteOn(engine, 80);
        std::vector<int> keys;
        for (int i = 0; i < kNotesPerModule; ++i) keys.push_back(engine.Note(i).Key());
        EXPECT_EQ(std::count(keys.begin(), keys.end(), 80), 1);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), c.stolen), 0) << "stolen " << c.stolen;
        EXPECT_EQ(engine.SoundingNotes(), kNotesPerModule);
    }
}

// Every voice of the 24 shared banks, played and released: finite, within ±1, and centred on
// zero (sub-audio carriers and detuned 1:1 pairs wobble slowly, so the mean is taken over the
// note and its release, within 1 % of full scale).
TEST(SynthRenderTest, SharedBanksRenderCleanly) {
    const auto paths = midi::testing::BankFilePaths();
    ASSERT_EQ(paths.size(), 24u);
    int voices = 0;
    for (const auto& path : paths) {
        const auto bytes = midi::testing::ReadBytes(path);
        ASSERT_EQ(bytes.size(), 4104u) << path;
        for (std::size_t v = 0; v < 32; ++v) {
            core::EditImage image{};
            core::InitEditImage(image);
            core::UnpackVoice(std::span<const core::Byte, core::kPackedVoiceSize>(bytes.data() + 6 + 128 * v, 128),
                              std::span<core::Byte, core::kUnpackedVoiceSize>(image.data(), 155));
            ModuleEngine engine(kRate);
            engine.SetImage(Image(image.data(), kImageBytes));
            NoteOn(engine, 60, 100);
            auto s = Render(engine, int(0.3 * kRate));
            NoteOff(engine, 60);
            const auto tail = Render(engine, int(0.3 * kRate));
            s.insert(s.end(), tail.begin(), tail.end());
            double sum = 0, peak = 0;
            bool finite = true;
            for (const float x : s) {
                finite = finite && std::isfinite(x);
                sum += x;
                peak = std::max(peak, double(std::abs(x)));
            }
            const double mean = sum / double(s.size());
            const std::string name(reinterpret_cast<const char*>(image.data() + 145), 10);
            EXPECT_TRUE(finite) << path.filename() << " voice " << v + 1 << " " << name;
            EXPECT_LT(peak, 1.0) << path.filename() << " voice " << v + 1 << " " << name;
            EXPECT_LT(std::abs(mean), 0.01) << path.filename() << " voice " << v + 1 << " " << name;
            ++voices;
        }
    }
    EXPECT_EQ(voices, 768);
}

}  // namespace
}  // namespace synth
