#pragma once
// The instrument's curves as this engine plays them: level to attenuation, envelope and LFO
// speeds, keyboard scaling, sensitivities, operator frequencies. Each says where its shape
// comes from in the README's "How the emulated rack sounds"; the numbers are chosen to match
// the published behaviour, not taken from any other program.

#include <cstdint>

namespace synth {

inline constexpr int kOperators = 6;
// Attenuation at which an operator counts as silent (the instrument's 96 dB of range).
inline constexpr float kSilentDb = 96.0f;
// Modulation index (radians) of a modulator at output level 99 and full envelope.
inline constexpr double kFullModulationIndex = 4.0 * 3.14159265358979323846;

// Attenuation in dB of an output level or an envelope level 0-99: 0 dB at 99, 0.75 dB a step
// down to 20, steeper below, silent at 0.
float LevelAttenuationDb(int level);
// The modulation index an operator at this output level (envelope full, no scaling) applies.
double ModulationIndex(int outputLevel);

// Seconds an envelope segment of this effective rate (0-99, may be raised past 99 by rate
// scaling) takes to fall through the whole 96 dB; rising segments are faster (see Envelope).
double DecaySeconds(double rate);
// Rate units added by keyboard rate scaling 0-7 at a MIDI note.
double RateScalingBoost(int rateScaling, int note);
// Attenuation added (positive) or removed (negative) by keyboard level scaling at a note.
// Curves: 0 -LIN, 1 -EXP, 2 +EXP, 3 +LIN; the break point 0-99 is A-1 (note 21) upward.
float KeyScalingDb(int note, int breakPoint, int leftDepth, int rightDepth, int leftCurve,
                   int rightCurve);
// Attenuation for a key velocity 0-127 at velocity sensitivity 0-7.
float VelocityDb(int sensitivity, int velocity);

double LfoHz(int speed);
// Seconds from key-on until the LFO starts to fade in, and the fade's length.
double LfoDelaySeconds(int delay);
// Pitch swing in semitones of the LFO at full depth for pitch modulation sensitivity 0-7.
double PitchModulationSemitones(int sensitivity);
// Amplitude swing in dB of the LFO at full depth for amplitude modulation sensitivity 0-3.
float AmplitudeModulationDb(int sensitivity);

// Pitch envelope: level 0-99 in semitones (50 none, ±48 at the ends), and the seconds a
// segment of rate 0-99 takes to cross the whole 96 semitones.
double PitchEgSemitones(int level);
double PitchEgSweepSeconds(int rate);

// An operator's frequency in Hz for a note frequency: ratio mode coarse (0 = 0.5) x
// (1 + fine / 100), fixed mode 10^(coarse mod 4) x 10^(fine / 100) Hz; detune 0-14 (7 none)
// shifts either by up to ±7 steps.
double OperatorFrequency(int fixedMode, int coarse, int fine, int detune, double noteHz);
inline constexpr double kDetuneCentsPerStep = 1.0;
// The frequency of a MIDI note (A4 = note 69 = 440 Hz), fractional notes included.
double NoteHz(double note);

// Feedback 0-7 as the phase modulation index (radians) of an operator's own output.
double FeedbackIndex(int feedback);
// Seconds a portamento of time 0-99 takes per octave.
double PortamentoSecondsPerOctave(int time);
// Gain of the module's attenuation 0-7 (7 full).
float AttenuationGain(int attenuation);

// A sine cycle of kSineSize samples for the oscillators (one shared table, built at load).
inline constexpr int kSineBits = 14;
inline constexpr int kSineSize = 1 << kSineBits;
const float* SineTable();

}  // namespace synth
